#include "filters/flip-rotate/Rot90ClockWiseFilter.h"

#include "filters/flip-rotate/FlipRotateKernels.h"

CRot90ClockWiseFilter::CRot90ClockWiseFilter(IUnknown* source, IPluginHost* host)
    : CRightAngleRotationFilter(source, host)
{
}

bool CRot90ClockWiseFilter::CopyPixels(const PixelRows& source, const PixelRows& destination, const UnitReport&)
{
    TurnInBands(ChosenClockWiseTurn(), true, source, destination);
    return true;
}
