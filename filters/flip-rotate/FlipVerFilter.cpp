#include "filters/flip-rotate/FlipVerFilter.h"

#include "filters/flip-rotate/FlipRotateKernels.h"
#include "resources/StringIds.h"

#include <memory>
#include <new>

namespace {

constexpr int kFirstRow = 0;
constexpr int kLastRow = -1;

// A stop ends without Finish(false): the host learns of it from the false answer and
// status 8 alone.
constexpr ApplyOptions kOptions{.finishOnStop = false};

} // namespace

CFlipVerFilter::CFlipVerFilter(IUnknown* source, IPluginHost* host)
    : CPlainFilter(source, host, IDS_PROGRESS_FLIP_VER, kOptions)
{
}

CApplyOutcome CFlipVerFilter::MakeWorkingImage(IUnknown* input, CComPtr<IImage>& working)
{
    return CloneInput(input, false, working);
}

CApplyOutcome CFlipVerFilter::ChangePixels(IUnknown*, IImage* working, IProgress* progress)
{
    CComPtr<ILineCursor> bottom;
    CComPtr<ILineCursor> top;
    if (!working->GetLineCursor(kFirstRow, bottom.Receive()) || !working->GetLineCursor(kLastRow, top.Receive()))
        return CApplyOutcome::Failed(kStatusHostRefused);
    return SwapLinePairs(working, bottom.Get(), top.Get(), progress);
}

CApplyOutcome CFlipVerFilter::SwapLinePairs(IImage* image, ILineCursor* bottom, ILineCursor* top,
                                            IProgress* progress)
{
    int height = 0;
    image->GetSize(nullptr, &height);
    const int pairs = height / 2;
    const auto lineBytes = static_cast<size_t>(bottom->GetLineSize());
    std::unique_ptr<uint8_t[]> buffer(new (std::nothrow) uint8_t[lineBytes]);
    if (buffer == nullptr) return CApplyOutcome::Failed(kStatusOutOfMemory);
    for (int i = 0; i < pairs; ++i) {
        if (progress != nullptr && !progress->Step(i, pairs)) return CApplyOutcome::Failed(kStatusCancelled);
        SwapLines(bottom->GetLine(), top->GetLine(), buffer.get(), lineBytes);
        bottom->Next();
        top->Previous();
    }
    return CApplyOutcome::Done();
}
