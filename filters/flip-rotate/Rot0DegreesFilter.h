#pragma once
// Hands back an unchanged copy of the factory's source.

#include "Common/base/PlainFilter.h"

class CRot0DegreesFilter final : public CPlainFilter {
public:
    CRot0DegreesFilter(IUnknown* source, IPluginHost* host);

    bool Apply(IUnknown* input, IImage** result, IProgress* progress, IStatus** status) override;
};
