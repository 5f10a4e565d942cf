#pragma once

#include "plugin/FilterFactoryBase.h"

class CInteractiveBrightnessContrastFactory final : public CFilterFactoryBase {
public:
    CInteractiveBrightnessContrastFactory();

protected:
    bool NewFilter(IUnknown* source, IPluginHost* host, IFilter** filter, IStatus** status) override;
};
