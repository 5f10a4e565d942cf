#pragma once

#include "plugin/FilterFactoryBase.h"

class CLensDistortFactory final : public CFilterFactoryBase {
public:
    CLensDistortFactory();

protected:
    bool NewFilter(IUnknown* source, IPluginHost* host, IFilter** filter, IStatus** status) override;
};
