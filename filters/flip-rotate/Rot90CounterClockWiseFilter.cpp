#include "filters/flip-rotate/Rot90CounterClockWiseFilter.h"

#include "filters/flip-rotate/FlipRotateKernels.h"

CRot90CounterClockWiseFilter::CRot90CounterClockWiseFilter(IUnknown* source, IPluginHost* host)
    : CRightAngleRotationFilter(source, host)
{
}

// No Step calls: the tiled copy has no row-by-row point at which to honour a cancel.
bool CRot90CounterClockWiseFilter::CopyPixels(const PixelRows& source, const PixelRows& destination, const UnitReport&)
{
    ChosenCounterClockWiseTurn()(source.bits, source.stride, destination.bits, destination.stride, source.width, source.height);
    return true;
}
