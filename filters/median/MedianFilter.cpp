#include "filters/median/MedianFilter.h"

#include "Common/params/ParamList.h"
#include "filters/median/MedianDialog.h"
#include "filters/median/MedianKernel.h"
#include "filters/shared/pixels/KernelBridge.h"
#include "resources/StringIds.h"

CInteractiveMedianFilter::CInteractiveMedianFilter(IUnknown* source, IPluginHost* host)
    : CInteractiveFilterBase(source, host, IDS_PROGRESS_MEDIAN)
{
}

// The radius has no default here: a text without it did not come from the dialog,
// which always writes it.
CApplyOutcome CInteractiveMedianFilter::ReadSettings(IUnknown*)
{
    if (!CParamList(Format().c_str()).GetInt(kMedianSizeKey, m_radius))
        return CApplyOutcome::Failed(kStatusHostRefused);
    return CApplyOutcome::Done();
}

CApplyOutcome CInteractiveMedianFilter::ChangePixels(IUnknown*, IImage* working, IProgress* progress)
{
    if (!MedianFilter(RowsOfImage(working), m_radius, ReportTo(progress)))
        return CApplyOutcome::Failed(kStatusCancelled);
    return CApplyOutcome::Done();
}

bool CInteractiveMedianFilter::CreateDialogWindow(QWidget* parent, IStatus** status)
{
    if (parent == nullptr) return ReportStatus(status, kStatusInvalidArgument);
    AdoptDialog(new CInteractiveMedianDlg(parent, this, PreviewSite()));
    return true;
}
