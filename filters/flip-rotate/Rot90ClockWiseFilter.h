#pragma once
// Turns the input a quarter clockwise into a new height x width image. Row 0 is the
// bottom row, so source column x becomes destination row width-1-x.

#include "filters/flip-rotate/RightAngleRotationFilter.h"

class CRot90ClockWiseFilter final : public CRightAngleRotationFilter {
public:
    CRot90ClockWiseFilter(IUnknown* source, IPluginHost* host);

protected:
    bool ExchangesSides() const override { return true; }
    bool CopyPixels(const PixelRows& source, const PixelRows& destination, const UnitReport& report) override;
};
