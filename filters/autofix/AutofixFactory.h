#pragma once

#include "plugin/FilterFactoryBase.h"

class CInteractiveAutofixFactory final : public CFilterFactoryBase {
public:
    CInteractiveAutofixFactory();

protected:
    bool NewFilter(IUnknown* source, IPluginHost* host, IFilter** filter, IStatus** status) override;
};
