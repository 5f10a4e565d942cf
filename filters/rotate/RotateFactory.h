#pragma once

#include "plugin/FilterFactoryBase.h"

class CInteractiveRotateFactory final : public CFilterFactoryBase {
public:
    CInteractiveRotateFactory();

protected:
    bool NewFilter(IUnknown* source, IPluginHost* host, IFilter** filter, IStatus** status) override;
};
