#pragma once

#include "plugin/FilterFactoryBase.h"

class CInteractiveNoiseFactory final : public CFilterFactoryBase {
public:
    CInteractiveNoiseFactory();
};
