#pragma once

#include "plugin/FilterFactoryBase.h"

class CRot90CounterClockWiseFactory final : public CFilterFactoryBase {
public:
    CRot90CounterClockWiseFactory();

protected:
    bool NewFilter(IUnknown* source, IPluginHost* host, IFilter** filter, IStatus** status) override;
};
