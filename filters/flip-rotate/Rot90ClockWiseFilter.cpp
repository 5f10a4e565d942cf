#include "filters/flip-rotate/Rot90ClockWiseFilter.h"

#include "filters/flip-rotate/FlipRotateKernels.h"

CRot90ClockWiseFilter::CRot90ClockWiseFilter(IUnknown* source, IPluginHost* host)
    : CRightAngleRotationFilter(source, host)
{
}

// No Step calls: the tiled copy has no row-by-row point at which to honour a cancel.
bool CRot90ClockWiseFilter::CopyPixels(const PixelRows& source, const PixelRows& destination, const UnitReport&)
{
    ChosenClockWiseTurn()(source.bits, source.stride, destination.bits, destination.stride, source.width, source.height);
    return true;
}
