#pragma once

#include "plugin/FilterFactoryBase.h"

class CExposureFactory final : public CFilterFactoryBase {
public:
    CExposureFactory();
};
