#include "filters/hot-pixels/HotPixelFixEngine.h"

#include "filters/hot-pixels/HotPixelKernels.h"
#include "filters/shared/pixels/KernelBridge.h"

namespace {

bool Is32BitSection(HBITMAP bitmap)
{
    BITMAP description{};
    return GetObjectW(bitmap, sizeof description, &description) != 0 && description.bmBitsPixel == 32;
}

} // namespace

// A section of another depth fails where the noise reduction of its copy would,
// ending the first phase unsuccessfully.
bool FixHotPixelsInSection(HBITMAP bitmap, int intensity, IProgress* progress)
{
    const auto endPhase = [progress](bool succeeded) {
        if (progress != nullptr) progress->Finish(succeeded);
    };
    if (!Is32BitSection(bitmap)) {
        endPhase(false);
        return false;
    }
    return FixHotPixels(RowsOfSection(bitmap), intensity, ReportTo(progress), endPhase);
}
