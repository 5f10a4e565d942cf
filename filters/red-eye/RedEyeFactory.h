#pragma once

#include "plugin/FilterFactoryBase.h"

class CInteractiveRedEyeFactory final : public CFilterFactoryBase {
public:
    CInteractiveRedEyeFactory();

protected:
    bool NewFilter(IUnknown* source, IPluginHost* host, IFilter** filter, IStatus** status) override;
};
