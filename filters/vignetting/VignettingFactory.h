#pragma once

#include "plugin/FilterFactoryBase.h"

class CVignettingFactory final : public CFilterFactoryBase {
public:
    CVignettingFactory();

protected:
    bool NewFilter(IUnknown* source, IPluginHost* host, IFilter** filter, IStatus** status) override;
};
