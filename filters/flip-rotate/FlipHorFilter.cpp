#include "filters/flip-rotate/FlipHorFilter.h"

#include "Common/base/ImageCloning.h"
#include "Common/status/Status.h"
#include "filters/flip-rotate/FlipRotateKernels.h"
#include "resources/StringIds.h"

CFlipHorFilter::CFlipHorFilter(IUnknown* source, IPluginHost* host)
    : CPlainFilter(source, host, IDS_PROGRESS_FLIP_HOR)
{
}

bool CFlipHorFilter::Apply(IUnknown* input, IImage** result, IProgress* progress, IStatus** status)
{
    const char16_t* text = ProgressText();
    if (result == nullptr) return ReportStatus(status, kStatusInvalidArgument);
    CComPtr<IImage> image = CloneAsImage(InputOr(input));
    auto bitmap = CComPtr<IBitmap>::Query(image.Get(), IID_IBitmap);
    uint8_t* pixels = bitmap ? bitmap->GetPixels() : nullptr;
    if (pixels == nullptr) return ReportStatus(status, kStatusHostRefused);
    if (progress != nullptr) progress->SetText(text);

    // The clone has the input's size; reading it from the clone bounds the loop by
    // the very buffer that is written.
    int width = 0;
    int height = 0;
    image->GetSize(&width, &height);
    auto* row = reinterpret_cast<uint32_t*>(pixels);
    for (int y = 0; y < height; ++y, row += width) {
        if (progress != nullptr && !progress->Step(y, height)) {
            progress->Finish(false);
            return ReportStatus(status, kStatusCancelled);
        }
        MirrorRow(row, width);
    }
    *result = image.Detach();
    if (progress != nullptr) progress->Finish(true);
    return true;
}
