#include "filters/flip-rotate/FlipHorFilter.h"

#include "filters/flip-rotate/FlipRotateKernels.h"
#include "filters/shared/pixels/KernelBridge.h"
#include "resources/StringIds.h"

CFlipHorFilter::CFlipHorFilter(IUnknown* source, IPluginHost* host)
    : CPlainFilter(source, host, IDS_PROGRESS_FLIP_HOR)
{
}

// The rows are the clone's own, so the loop is bounded by the very buffer it writes.
CApplyOutcome CFlipHorFilter::ChangePixels(IUnknown*, IImage* working, IProgress* progress)
{
    if (!FlipHorizontal(RowsOfImage(working), ReportTo(progress))) return CApplyOutcome::Failed(kStatusCancelled);
    return CApplyOutcome::Done();
}
