#pragma once

#include "plugin/FilterFactoryBase.h"

class CInteractiveRotateFactory final : public CFilterFactoryBase {
public:
    CInteractiveRotateFactory();
};
