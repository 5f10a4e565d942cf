#pragma once

#include "plugin/FilterFactoryBase.h"

class CRot0DegreesFactory final : public CFilterFactoryBase {
public:
    CRot0DegreesFactory();

protected:
    bool NewFilter(IUnknown* source, IPluginHost* host, IFilter** filter, IStatus** status) override;
};
