#pragma once

#include "plugin/FilterFactoryBase.h"

class CRot180Factory final : public CFilterFactoryBase {
public:
    CRot180Factory();

protected:
    bool NewFilter(IUnknown* source, IPluginHost* host, IFilter** filter, IStatus** status) override;
};
