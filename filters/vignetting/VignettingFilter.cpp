#include "filters/vignetting/VignettingFilter.h"

#include "filters/shared/pixels/KernelBridge.h"
#include "filters/vignetting/VignettingKernel.h"
#include "resources/StringIds.h"

// The filter works without the host object its factory keeps.
CVignettingFilter::CVignettingFilter(IUnknown* source, IPluginHost*)
    : CPlainFilter(source, nullptr, IDS_PROGRESS_VIGNETTING)
{
}

CApplyOutcome CVignettingFilter::ChangePixels(IUnknown*, IImage* working, IProgress* progress)
{
    PixelRows rows = RowsOfImage(working);
    // Rows start on whole pixels even where a host pads them by odd bytes.
    rows.stride -= rows.stride % 4;
    if (!Vignette(rows, ReportTo(progress))) return CApplyOutcome::Failed(kStatusCancelled);
    return CApplyOutcome::Done();
}
