#pragma once

#include "plugin/FilterFactoryBase.h"

class CInteractiveHotPixelFixFactory final : public CFilterFactoryBase {
public:
    CInteractiveHotPixelFixFactory();

protected:
    bool NewFilter(IUnknown* source, IPluginHost* host, IFilter** filter, IStatus** status) override;
};
