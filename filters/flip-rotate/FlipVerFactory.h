#pragma once

#include "plugin/FilterFactoryBase.h"

class CFlipVerFactory final : public CFilterFactoryBase {
public:
    CFlipVerFactory();

protected:
    bool NewFilter(IUnknown* source, IPluginHost* host, IFilter** filter, IStatus** status) override;
};
