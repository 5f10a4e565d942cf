#pragma once

#include "plugin/FilterFactoryBase.h"

class CColorBalanceFactory final : public CFilterFactoryBase {
public:
    CColorBalanceFactory();

protected:
    bool NewFilter(IUnknown* source, IPluginHost* host, IFilter** filter, IStatus** status) override;
};
