#pragma once

#include "plugin/FilterFactoryBase.h"

class CInteractiveBrightnessContrastFactory final : public CFilterFactoryBase {
public:
    CInteractiveBrightnessContrastFactory();
};
