#pragma once
// Turns the input half round into a new image, one source row per progress step.

#include "filters/flip-rotate/RightAngleRotationFilter.h"

class CRot180Filter final : public CRightAngleRotationFilter {
public:
    CRot180Filter(IUnknown* source, IPluginHost* host);

protected:
    bool ExchangesSides() const override { return false; }
    bool CopyPixels(const PixelRows& source, const PixelRows& destination, const UnitReport& report) override;
};
