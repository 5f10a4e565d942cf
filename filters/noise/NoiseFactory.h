#pragma once

#include "plugin/FilterFactoryBase.h"

class CInteractiveNoiseFactory final : public CFilterFactoryBase {
public:
    CInteractiveNoiseFactory();

protected:
    bool NewFilter(IUnknown* source, IPluginHost* host, IFilter** filter, IStatus** status) override;
};
