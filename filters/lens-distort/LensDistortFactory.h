#pragma once

#include "plugin/FilterFactoryBase.h"

class CLensDistortFactory final : public CFilterFactoryBase {
public:
    CLensDistortFactory();
};
