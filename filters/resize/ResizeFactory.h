#pragma once

#include "plugin/FilterFactoryBase.h"

class CInteractiveResizeFactory final : public CFilterFactoryBase {
public:
    CInteractiveResizeFactory();

protected:
    bool NewFilter(IUnknown* source, IPluginHost* host, IFilter** filter, IStatus** status) override;
};
