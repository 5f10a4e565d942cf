#pragma once

#include "plugin/FilterFactoryBase.h"

class CInteractiveCropFactory final : public CFilterFactoryBase {
public:
    CInteractiveCropFactory();

protected:
    bool NewFilter(IUnknown* source, IPluginHost* host, IFilter** filter, IStatus** status) override;
};
