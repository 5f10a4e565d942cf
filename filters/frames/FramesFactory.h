#pragma once

#include "plugin/FilterFactoryBase.h"

class CInteractiveFrameFilterFactory final : public CFilterFactoryBase {
public:
    CInteractiveFrameFilterFactory();

protected:
    bool NewFilter(IUnknown* source, IPluginHost* host, IFilter** filter, IStatus** status) override;
};
