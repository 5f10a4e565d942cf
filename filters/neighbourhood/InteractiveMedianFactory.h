#pragma once

#include "plugin/FilterFactoryBase.h"

class CInteractiveMedianFactory final : public CFilterFactoryBase {
public:
    CInteractiveMedianFactory();
};
