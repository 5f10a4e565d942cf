#pragma once

#include "plugin/FilterFactoryBase.h"

class CVignettingFactory final : public CFilterFactoryBase {
public:
    CVignettingFactory();
};
