#include "filters/flip-rotate/Rot180Filter.h"

#include "filters/flip-rotate/FlipRotateKernels.h"
#include "platform/CpuFeatures.h"

CRot180Filter::CRot180Filter(IUnknown* source, IPluginHost* host)
    : CRightAngleRotationFilter(source, host)
{
}

bool CRot180Filter::CopyPixels(const Planes& planes, IProgress* progress)
{
    const RowReverser reverse = CpuHasSse2() ? ReverseRowIntoSse2 : ReverseRowInto;
    const int height = planes.height;
    for (int y = 0; y < height; ++y) {
        if (progress != nullptr && !progress->Step(y, height)) return false;
        reverse(reinterpret_cast<const uint32_t*>(planes.source + planes.sourceStride * y),
                reinterpret_cast<uint32_t*>(planes.destination + planes.destinationStride * (height - 1 - y)),
                planes.width);
    }
    return true;
}
