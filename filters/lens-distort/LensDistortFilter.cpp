#include "filters/lens-distort/LensDistortFilter.h"

#include "Common/params/ParamList.h"
#include "filters/lens-distort/LensDistortDialog.h"
#include "filters/lens-distort/LensDistortKernel.h"
#include "filters/lens-distort/LensDistortSettings.h"
#include "filters/shared/pixels/KernelBridge.h"
#include "resources/StringIds.h"

namespace {

// The coefficient is read before the copy is made and the text announced after it;
// the sink hears how the work ended, stopped or done.
constexpr ApplyOptions kOptions{.order = {ApplyStep::Settings, ApplyStep::WorkingImage, ApplyStep::Announce}};

// Rows start on whole pixels even where a host pads them by odd bytes.
PixelRows WholePixelRows(IUnknown* image)
{
    PixelRows rows = RowsOfImage(image);
    rows.stride -= rows.stride % 4;
    return rows;
}

} // namespace

CLensDistortFilter::CLensDistortFilter(IUnknown* source, IPluginHost* host)
    : CInteractiveFilterBase(source, host, IDS_PROGRESS_LENS, kOptions)
{
}

bool CLensDistortFilter::CreateDialogWindow(QWidget* parent, IStatus** status)
{
    if (parent == nullptr) return ReportStatus(status, kStatusInvalidArgument);
    AdoptDialog(new CDlgLensDistort(parent, this, PreviewSite()));
    return true;
}

// No default: a text without the key did not come from the dialog, which always
// writes it.
CApplyOutcome CLensDistortFilter::ReadSettings(IUnknown*)
{
    m_coefficient = kMostPincushion;
    if (!CParamList(Format().c_str()).GetDouble(kDistortKey, m_coefficient))
        return CApplyOutcome::Failed(kStatusHostRefused);
    return CApplyOutcome::Done();
}

// The samples come from the input, which the copy's pixels replace row by row.
CApplyOutcome CLensDistortFilter::ChangePixels(IUnknown* input, IImage* working, IProgress* progress)
{
    const PixelRows source = WholePixelRows(input);
    const PixelRows target = WholePixelRows(working);
    if (source.bits == nullptr || target.bits == nullptr) return CApplyOutcome::Failed(kStatusHostRefused);
    if (!DistortLens(source, target, m_coefficient, ReportTo(progress)))
        return CApplyOutcome::Failed(kStatusCancelled);
    return CApplyOutcome::Done();
}
