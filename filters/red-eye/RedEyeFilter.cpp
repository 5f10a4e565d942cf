#include "filters/red-eye/RedEyeFilter.h"

#include "Common/params/ShapeText.h"
#include "filters/red-eye/RedEyeDialog.h"
#include "filters/red-eye/RedEyeKernel.h"
#include "host/HostInterfaces.h"
#include "resources/StringIds.h"

#include <utility>

// The filter has always announced its work with the rotation's progress text.
CInteractiveRedEye::CInteractiveRedEye(IUnknown* source, IPluginHost* host)
    : CInteractiveFilterBase(source, host, IDS_PROGRESS_ROTATING)
{
}

void CInteractiveRedEye::SelectionChanged()
{
    if (PreviewSite() == nullptr) return;
    ShapeNumbers numbers{m_region.left, m_region.top, m_region.right, m_region.bottom};
    const int read = ReadShapeNumbers(PreviewSite()->GetSelection(), numbers);
    m_region = {numbers[0], numbers[1], numbers[2], numbers[3]};
    if (read < 4) return;
    if (m_region.left > m_region.right) std::swap(m_region.left, m_region.right);
    if (m_region.top > m_region.bottom) std::swap(m_region.top, m_region.bottom);
    if (HasDialog()) static_cast<CInteractiveRedEyeDlg*>(Dialog())->ShowSelection(m_region);
}

bool CInteractiveRedEye::CreateDialogWindow(QWidget* parent, IStatus** status)
{
    if (parent == nullptr) return ReportStatus(status, kStatusInvalidArgument);
    AdoptDialog(new CInteractiveRedEyeDlg(parent, Host(), this, PreviewSite(), Source()));
    return true;
}

CApplyOutcome CInteractiveRedEye::CheckInput(IUnknown* input)
{
    return input == nullptr ? CApplyOutcome::Failed(kStatusInvalidArgument) : CApplyOutcome::Done();
}

// The pixels are reached one at a time through the accessor, so the copy needs no
// pixel buffer of its own.
CApplyOutcome CInteractiveRedEye::MakeWorkingImage(IUnknown* input, CComPtr<IImage>& working)
{
    return CloneInput(input, false, working);
}

CApplyOutcome CInteractiveRedEye::ChangePixels(IUnknown*, IImage* working, IProgress*)
{
    int width = 0;
    int height = 0;
    working->GetSize(&width, &height);
    const auto pixels = CComPtr<IPixelAccess>::Query(working, IID_IPixelAccess);
    if (!pixels) return CApplyOutcome::Failed(kStatusHostRefused);
    ReduceRedEye(*pixels.Get(), ClippedToPicture(SpanOfRegion(m_region, height), width, height));
    return CApplyOutcome::Done();
}
