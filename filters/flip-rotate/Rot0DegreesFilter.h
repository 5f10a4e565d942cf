#pragma once
// Hands back an unchanged copy of the factory's source.

#include "Common/base/PlainFilter.h"

class CRot0DegreesFilter final : public CPlainFilter {
public:
    CRot0DegreesFilter(IUnknown* source, IPluginHost* host);

protected:
    CApplyOutcome CheckInput(IUnknown* input) override;
    CApplyOutcome MakeWorkingImage(IUnknown* input, CComPtr<IImage>& working) override;
    CApplyOutcome ChangePixels(IUnknown*, IImage*, IProgress*) override { return CApplyOutcome::Done(); }
};
