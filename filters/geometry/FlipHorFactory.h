#pragma once

#include "plugin/FilterFactoryBase.h"

class CFlipHorFactory final : public CFilterFactoryBase {
public:
    CFlipHorFactory();
};
