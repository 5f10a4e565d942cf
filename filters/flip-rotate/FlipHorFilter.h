#pragma once
// Mirrors a copy of the input left to right, one row per progress step.

#include "Common/base/PlainFilter.h"

class CFlipHorFilter final : public CPlainFilter {
public:
    CFlipHorFilter(IUnknown* source, IPluginHost* host);

protected:
    CApplyOutcome ChangePixels(IUnknown* input, IImage* working, IProgress* progress) override;
};
