#include "filters/flip-rotate/FlipVerFilter.h"

#include "Common/base/ImageCloning.h"
#include "Common/status/Status.h"
#include "filters/flip-rotate/FlipRotateKernels.h"
#include "resources/StringIds.h"

#include <memory>
#include <new>

namespace {

constexpr int kFirstRow = 0;
constexpr int kLastRow = -1;

} // namespace

CFlipVerFilter::CFlipVerFilter(IUnknown* source, IPluginHost* host)
    : CPlainFilter(source, host, IDS_PROGRESS_FLIP_VER)
{
}

bool CFlipVerFilter::Apply(IUnknown* input, IImage** result, IProgress* progress, IStatus** status)
{
    const char16_t* text = ProgressText();
    if (result == nullptr) return ReportStatus(status, kStatusInvalidArgument);
    CComPtr<IImage> image = CloneAsImage(InputOr(input));
    if (!image) return ReportStatus(status, kStatusHostRefused);
    if (progress != nullptr) progress->SetText(text);

    CComPtr<ILineCursor> bottom;
    CComPtr<ILineCursor> top;
    if (!image->GetLineCursor(kFirstRow, bottom.Receive()) || !image->GetLineCursor(kLastRow, top.Receive()))
        return ReportStatus(status, kStatusHostRefused);
    if (!SwapLinePairs(image.Get(), bottom.Get(), top.Get(), progress, status)) return false;

    *result = image.Detach();
    if (progress != nullptr) progress->Finish(true);
    return true;
}

// A cancel returns without Finish(false): the host learns of it from the false
// answer and status 8 alone.
bool CFlipVerFilter::SwapLinePairs(IImage* image, ILineCursor* bottom, ILineCursor* top, IProgress* progress,
                                   IStatus** status)
{
    int height = 0;
    image->GetSize(nullptr, &height);
    const int pairs = height / 2;
    const auto lineBytes = static_cast<size_t>(bottom->GetLineSize());
    std::unique_ptr<uint8_t[]> buffer(new (std::nothrow) uint8_t[lineBytes]);
    if (buffer == nullptr) return ReportStatus(status, kStatusOutOfMemory);
    for (int i = 0; i < pairs; ++i) {
        if (progress != nullptr && !progress->Step(i, pairs)) return ReportStatus(status, kStatusCancelled);
        SwapLines(bottom->GetLine(), top->GetLine(), buffer.get(), lineBytes);
        bottom->Next();
        top->Previous();
    }
    return true;
}
