#pragma once

#include "plugin/FilterFactoryBase.h"

class CInteractiveCropFactory final : public CFilterFactoryBase {
public:
    CInteractiveCropFactory();
};
