#include "filters/median/MedianFilter.h"

#include "Common/base/ImageCloning.h"
#include "Common/params/ParamList.h"
#include "Common/status/Status.h"
#include "filters/median/MedianDialog.h"
#include "filters/shared/pixels/KernelBridge.h"
#include "filters/median/MedianKernel.h"
#include "resources/StringIds.h"

CInteractiveMedianFilter::CInteractiveMedianFilter(IUnknown* source, IPluginHost* host)
    : m_inputs(source, host, IDS_PROGRESS_MEDIAN)
{
}

// The radius has no default here: a text without it did not come from the dialog,
// which always writes it.
bool CInteractiveMedianFilter::Apply(IUnknown* input, IImage** result, IProgress* progress, IStatus** status)
{
    const char16_t* text = m_inputs.ProgressText();
    if (result == nullptr) return ReportStatus(status, kStatusInvalidArgument);
    CComPtr<IImage> copy = CloneAsImage(m_inputs.InputOr(input));
    if (!CComPtr<IBitmap>::Query(copy.Get(), IID_IBitmap)) return ReportStatus(status, kStatusHostRefused);
    if (progress != nullptr) progress->SetText(text);

    int radius = 0;
    if (!CParamList(Format().c_str()).GetInt(kMedianSizeKey, radius)) return ReportStatus(status, kStatusHostRefused);
    const bool filtered = MedianFilter(RowsOfSection(copy->GetBitmap()), radius, ReportTo(progress));
    if (progress != nullptr) progress->Finish(filtered);
    if (!filtered) return ReportStatus(status, kStatusCancelled);
    *result = copy.Detach();
    return true;
}

bool CInteractiveMedianFilter::CreateDialogWindow(QWidget* parent, IStatus** status)
{
    if (parent == nullptr) return ReportStatus(status, kStatusInvalidArgument);
    AdoptDialog(new CInteractiveMedianDlg(parent, this, PreviewSite()));
    return true;
}
