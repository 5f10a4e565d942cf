#include "filters/flip-rotate/RightAngleRotationFilter.h"

#include "filters/shared/pixels/KernelBridge.h"
#include "resources/StringIds.h"

namespace {

constexpr int kBitsPerPixel = 32;

// The turns announce themselves before they look at their input; every refusal after
// that ends without Finish(false), only a stop during the copy closes the display.
constexpr ApplyOptions kOptions{.order = {ApplyStep::Announce, ApplyStep::WorkingImage, ApplyStep::Settings}};

} // namespace

CRightAngleRotationFilter::CRightAngleRotationFilter(IUnknown* source, IPluginHost* host)
    : CPlainFilter(source, host, IDS_PROGRESS_ROTATING, kOptions)
{
}

CApplyOutcome CRightAngleRotationFilter::MakeWorkingImage(IUnknown* input, CComPtr<IImage>& working)
{
    auto source = CComPtr<IImage>::Query(input, IID_IImage);
    if (!source || source->GetPixels() == nullptr) return CApplyOutcome::Failed(kStatusHostRefused);
    int width = 0;
    int height = 0;
    source->GetSize(&width, &height);
    working = CreateDestination(input, width, height);
    if (!working) return CApplyOutcome::Failed(kStatusHostRefused);
    return CApplyOutcome::Done();
}

CApplyOutcome CRightAngleRotationFilter::ChangePixels(IUnknown* input, IImage* working, IProgress* progress)
{
    auto source = CComPtr<IImage>::Query(input, IID_IImage);
    PixelRows from{source->GetPixels(), source->GetStride(), 0, 0};
    source->GetSize(&from.width, &from.height);
    PixelRows to{working->GetPixels(), working->GetStride(), 0, 0};
    working->GetSize(&to.width, &to.height);
    if (!CopyPixels(from, to, ReportTo(progress))) return CApplyOutcome::Failed(kStatusCancelled);
    return CApplyOutcome::Done();
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
