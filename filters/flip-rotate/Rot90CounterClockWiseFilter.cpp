#include "filters/flip-rotate/Rot90CounterClockWiseFilter.h"

#include "filters/flip-rotate/FlipRotateKernels.h"

CRot90CounterClockWiseFilter::CRot90CounterClockWiseFilter(IUnknown* source, IPluginHost* host)
    : CRightAngleRotationFilter(source, host)
{
}

bool CRot90CounterClockWiseFilter::CopyPixels(const PixelRows& source, const PixelRows& destination, const UnitReport&)
{
    TurnInBands(ChosenCounterClockWiseTurn(), false, source, destination);
    return true;
}
