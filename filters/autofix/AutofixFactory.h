#pragma once

#include "plugin/FilterFactoryBase.h"

class CInteractiveAutofixFactory final : public CFilterFactoryBase {
public:
    CInteractiveAutofixFactory();
};
