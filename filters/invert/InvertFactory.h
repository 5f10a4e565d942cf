#pragma once

#include "plugin/FilterFactoryBase.h"

class CInvertFactory final : public CFilterFactoryBase {
public:
    CInvertFactory();

protected:
    bool NewFilter(IUnknown* source, IPluginHost* host, IFilter** filter, IStatus** status) override;
};
