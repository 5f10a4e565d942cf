#pragma once

#include "plugin/FilterFactoryBase.h"

class CInteractiveHotPixelFixFactory final : public CFilterFactoryBase {
public:
    CInteractiveHotPixelFixFactory();
};
