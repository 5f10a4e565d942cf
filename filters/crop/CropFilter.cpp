#include "filters/crop/CropFilter.h"

#include "Common/params/ShapeText.h"
#include "filters/crop/CropDialog.h"
#include "resources/StringIds.h"

#include <utility>

namespace {

// The host's crop is announced before it runs, and whether it failed or not is
// what the sink is told at the end.
constexpr ApplyOptions kOptions{.order = {ApplyStep::Announce, ApplyStep::WorkingImage, ApplyStep::Settings},
                                .finishOnRefusal = true};

RECT InIncreasingOrder(const ShapeNumbers& values)
{
    RECT rect{values[0], values[1], values[2], values[3]};
    if (rect.left > rect.right) std::swap(rect.left, rect.right);
    if (rect.top > rect.bottom) std::swap(rect.top, rect.bottom);
    return rect;
}

} // namespace

CInteractiveCrop::CInteractiveCrop(IUnknown* source, IPluginHost* host)
    : CInteractiveFilterBase(source, host, IDS_PROGRESS_CROP, kOptions)
{
}

void CInteractiveCrop::SelectionChanged()
{
    if (PreviewSite() == nullptr) return;
    ShapeNumbers values{};
    if (!ReadShapeText(PreviewSite()->GetSelection(), values)) return;
    m_selection = InIncreasingOrder(values);
    if (HasDialog()) static_cast<CInteractiveCropDlg*>(Dialog())->ShowSelection(m_selection);
}

bool CInteractiveCrop::CreateDialogWindow(QWidget* parent, IStatus** status)
{
    if (parent == nullptr) return ReportStatus(status, kStatusInvalidArgument);
    AdoptDialog(new CInteractiveCropDlg(parent, Host(), this, PreviewSite(), Source()));
    return true;
}

CApplyOutcome CInteractiveCrop::CheckInput(IUnknown* input)
{
    if (input == nullptr) return CApplyOutcome::Failed(kStatusInvalidArgument);
    if (!CComPtr<IImage>::Query(input, IID_IImage)) return CApplyOutcome::Failed(kStatusHostRefused);
    return CApplyOutcome::Done();
}

// The rectangle goes to the host as it is: the host decides what is inside the
// picture, and a crop it refuses carries no status of the filter's.
CApplyOutcome CInteractiveCrop::MakeWorkingImage(IUnknown* input, CComPtr<IImage>& working)
{
    const auto image = CComPtr<IImage>::Query(input, IID_IImage);
    CComPtr<IUnknown> cropped;
    if (!image->Crop(m_selection.left, m_selection.top, m_selection.right, m_selection.bottom, cropped.Receive()))
        return CApplyOutcome::Refused();
    working = CComPtr<IImage>::Query(cropped.Get(), IID_IImage);
    return working ? CApplyOutcome::Done() : CApplyOutcome::Failed(kStatusHostRefused);
}
