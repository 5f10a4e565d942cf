#pragma once

#include "plugin/FilterFactoryBase.h"

class CInteractiveMedianFactory final : public CFilterFactoryBase {
public:
    CInteractiveMedianFactory();

protected:
    bool NewFilter(IUnknown* source, IPluginHost* host, IFilter** filter, IStatus** status) override;
};
