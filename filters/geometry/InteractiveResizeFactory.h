#pragma once

#include "plugin/FilterFactoryBase.h"

class CInteractiveResizeFactory final : public CFilterFactoryBase {
public:
    CInteractiveResizeFactory();
};
