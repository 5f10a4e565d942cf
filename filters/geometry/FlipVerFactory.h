#pragma once

#include "plugin/FilterFactoryBase.h"

class CFlipVerFactory final : public CFilterFactoryBase {
public:
    CFlipVerFactory();
};
