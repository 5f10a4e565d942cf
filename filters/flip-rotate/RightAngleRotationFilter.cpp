#include "filters/flip-rotate/RightAngleRotationFilter.h"

#include "Common/status/Status.h"
#include "resources/StringIds.h"

namespace {

constexpr int kBitsPerPixel = 32;

} // namespace

CRightAngleRotationFilter::CRightAngleRotationFilter(IUnknown* source, IPluginHost* host)
    : CPlainFilter(source, host, IDS_PROGRESS_ROTATING)
{
}

// Every refusal before the copy ends without Finish(false); only a cancel during
// the copy closes the progress display as failed.
bool CRightAngleRotationFilter::Apply(IUnknown* input, IImage** result, IProgress* progress, IStatus** status)
{
    const char16_t* text = ProgressText();
    if (result == nullptr) return ReportStatus(status, kStatusInvalidArgument);
    if (progress != nullptr) progress->SetText(text);

    IUnknown* from = InputOr(input);
    auto source = CComPtr<IImage>::Query(from, IID_IImage);
    if (!source || source->GetPixels() == nullptr) return ReportStatus(status, kStatusHostRefused);
    int width = 0;
    int height = 0;
    source->GetSize(&width, &height);

    CComPtr<IImage> destination = CreateDestination(from, width, height);
    if (!destination) return ReportStatus(status, kStatusHostRefused);
    const Planes planes{source->GetPixels(), source->GetStride(), destination->GetPixels(),
                        destination->GetStride(), width, height};
    if (!CopyPixels(planes, progress)) {
        if (progress != nullptr) progress->Finish(false);
        return ReportStatus(status, kStatusCancelled);
    }
    *result = destination.Detach();
    if (progress != nullptr) progress->Finish(true);
    return true;
}

// Allocate may describe its refusal in a status of its own; the caller gets ours,
// code 6, so the host's is released here rather than overwritten and leaked.
CComPtr<IImage> CRightAngleRotationFilter::CreateDestination(IUnknown* input, int width, int height) const
{
    if (Host() == nullptr) return {};
    CComPtr<IImage> made;
    if (!Host()->CreateImage(made.Receive(), input)) return {};
    auto bitmap = CComPtr<IBitmap>::Query(made.Get(), IID_IBitmap);
    if (!bitmap) return {};
    const bool exchanged = ExchangesSides();
    CComPtr<IStatus> refusal;
    if (!bitmap->Allocate(exchanged ? height : width, exchanged ? width : height, kBitsPerPixel, refusal.Receive()))
        return {};
    if (made->GetPixels() == nullptr) return {};
    return made;
}
