#pragma once

#include "plugin/FilterFactoryBase.h"

class CInvertFactory final : public CFilterFactoryBase {
public:
    CInvertFactory();
};
