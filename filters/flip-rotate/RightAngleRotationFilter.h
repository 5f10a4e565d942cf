#pragma once
// What the three right-angle turns share: the destination image from the host
// object and the order of progress calls. A turn only says how big its result is and
// where the pixels go.

#include "Common/base/PlainFilter.h"
#include "filters/shared/pixels/PixelRows.h"

class CRightAngleRotationFilter : public CPlainFilter {
protected:
    CRightAngleRotationFilter(IUnknown* source, IPluginHost* host);

    // Quarter turns make a height x width result, half turns a width x height one.
    virtual bool ExchangesSides() const = 0;
    // Moves every pixel of source to its place in destination; false when report
    // stops it.
    virtual bool CopyPixels(const PixelRows& source, const PixelRows& destination, const UnitReport& report) = 0;

    CApplyOutcome MakeWorkingImage(IUnknown* input, CComPtr<IImage>& working) final;
    CApplyOutcome ChangePixels(IUnknown* input, IImage* working, IProgress* progress) final;

private:
    // A new image from the host object, sized for the turned input; empty after a refusal.
    CComPtr<IImage> CreateDestination(IUnknown* input, int width, int height) const;
};
