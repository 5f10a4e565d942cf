#pragma once

#include "plugin/FilterFactoryBase.h"

class CRot180Factory final : public CFilterFactoryBase {
public:
    CRot180Factory();
};
