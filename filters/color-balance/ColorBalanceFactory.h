#pragma once

#include "plugin/FilterFactoryBase.h"

class CColorBalanceFactory final : public CFilterFactoryBase {
public:
    CColorBalanceFactory();
};
