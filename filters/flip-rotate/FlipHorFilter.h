#pragma once
// Mirrors a copy of the input left to right, one row per progress step.

#include "Common/base/PlainFilter.h"

class CFlipHorFilter final : public CPlainFilter {
public:
    CFlipHorFilter(IUnknown* source, IPluginHost* host);

    bool Apply(IUnknown* input, IImage** result, IProgress* progress, IStatus** status) override;
};
