#pragma once
// Vignetting: darkens a copy of the input towards its edges, one row per progress
// step. No settings.

#include "Common/base/PlainFilter.h"

class CVignettingFilter final : public CPlainFilter {
public:
    CVignettingFilter(IUnknown* source, IPluginHost* host);

protected:
    CApplyOutcome ChangePixels(IUnknown* input, IImage* working, IProgress* progress) override;
};
