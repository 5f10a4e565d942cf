#pragma once

#include "plugin/FilterFactoryBase.h"

class CExposureFactory final : public CFilterFactoryBase {
public:
    CExposureFactory();

protected:
    bool NewFilter(IUnknown* source, IPluginHost* host, IFilter** filter, IStatus** status) override;
};
