#pragma once

#include "plugin/FilterFactoryBase.h"

class CRot90CounterClockWiseFactory final : public CFilterFactoryBase {
public:
    CRot90CounterClockWiseFactory();
};
