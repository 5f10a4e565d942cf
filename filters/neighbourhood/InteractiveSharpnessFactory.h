#pragma once

#include "plugin/FilterFactoryBase.h"

class CInteractiveSharpnessFactory final : public CFilterFactoryBase {
public:
    CInteractiveSharpnessFactory();
};
