#pragma once
// Turns the input a quarter counter-clockwise into a new height x width image.
// Row 0 is the bottom row, so source column x becomes destination row x.

#include "filters/flip-rotate/RightAngleRotationFilter.h"

class CRot90CounterClockWiseFilter final : public CRightAngleRotationFilter {
public:
    CRot90CounterClockWiseFilter(IUnknown* source, IPluginHost* host);

protected:
    bool ExchangesSides() const override { return true; }
    bool CopyPixels(const PixelRows& source, const PixelRows& destination, const UnitReport& report) override;
};
