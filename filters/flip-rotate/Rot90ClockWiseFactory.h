#pragma once

#include "plugin/FilterFactoryBase.h"

class CRot90ClockWiseFactory final : public CFilterFactoryBase {
public:
    CRot90ClockWiseFactory();

protected:
    bool NewFilter(IUnknown* source, IPluginHost* host, IFilter** filter, IStatus** status) override;
};
