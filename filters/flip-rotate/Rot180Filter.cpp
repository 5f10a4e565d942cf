#include "filters/flip-rotate/Rot180Filter.h"

#include "filters/flip-rotate/FlipRotateKernels.h"

CRot180Filter::CRot180Filter(IUnknown* source, IPluginHost* host)
    : CRightAngleRotationFilter(source, host)
{
}

bool CRot180Filter::CopyPixels(const PixelRows& source, const PixelRows& destination, const UnitReport& report)
{
    return Rotate180(source, destination, ChosenRowReverser(), report);
}
