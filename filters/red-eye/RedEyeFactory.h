#pragma once

#include "plugin/FilterFactoryBase.h"

class CInteractiveRedEyeFactory final : public CFilterFactoryBase {
public:
    CInteractiveRedEyeFactory();
};
