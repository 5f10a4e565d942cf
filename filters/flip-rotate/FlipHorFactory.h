#pragma once

#include "plugin/FilterFactoryBase.h"

class CFlipHorFactory final : public CFilterFactoryBase {
public:
    CFlipHorFactory();

protected:
    bool NewFilter(IUnknown* source, IPluginHost* host, IFilter** filter, IStatus** status) override;
};
