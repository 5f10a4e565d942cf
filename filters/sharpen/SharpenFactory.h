#pragma once

#include "plugin/FilterFactoryBase.h"

class CInteractiveSharpnessFactory final : public CFilterFactoryBase {
public:
    CInteractiveSharpnessFactory();

protected:
    bool NewFilter(IUnknown* source, IPluginHost* host, IFilter** filter, IStatus** status) override;
};
