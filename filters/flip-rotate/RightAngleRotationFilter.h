#pragma once
// What the three right-angle turns share: the destination image from the host
// object, the order of progress calls and the failure codes. A turn only says how
// big its result is and where the pixels go.

#include "Common/base/PlainFilter.h"
#include "platform/ComPtr.h"

#include <cstddef>
#include <cstdint>

class CRightAngleRotationFilter : public CPlainFilter {
public:
    bool Apply(IUnknown* input, IImage** result, IProgress* progress, IStatus** status) final;

protected:
    CRightAngleRotationFilter(IUnknown* source, IPluginHost* host);

    // The pixels of one image as the kernels take them; sizes are the source's.
    struct Planes {
        const uint8_t* source;
        ptrdiff_t sourceStride;
        uint8_t* destination;
        ptrdiff_t destinationStride;
        int width;
        int height;
    };

    // Quarter turns make a height x width result, half turns a width x height one.
    virtual bool ExchangesSides() const = 0;
    // Moves every source pixel to its place; false when the user cancelled.
    virtual bool CopyPixels(const Planes& planes, IProgress* progress) = 0;

private:
    // A new image from the host object, sized for the turned input; empty after a refusal.
    CComPtr<IImage> CreateDestination(IUnknown* input, int width, int height) const;
};
