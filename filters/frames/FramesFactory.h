#pragma once

#include "plugin/FilterFactoryBase.h"

class CInteractiveFrameFilterFactory final : public CFilterFactoryBase {
public:
    CInteractiveFrameFilterFactory();
};
