#include "filters/frames/FrameFilter.h"

#include "filters/frames/DoubleFrame.h"
#include "filters/frames/FadingFrame.h"
#include "filters/frames/FrameDialog.h"
#include "filters/frames/FramesSettings.h"
#include "filters/frames/SingleFrame.h"
#include "filters/shared/pixels/KernelBridge.h"
#include "resources/StringIds.h"

namespace {

// The text is announced first; every failure after it, a missing key or a refused
// copy as much as a stop, tells the sink that the work failed.
constexpr ApplyOptions kOptions{.order = {ApplyStep::Announce, ApplyStep::Settings, ApplyStep::WorkingImage},
                                .finishOnStop = true,
                                .finishOnRefusal = true};

} // namespace

CInteractiveFrameFilter::CInteractiveFrameFilter(IUnknown* source, IPluginHost* host)
    : CInteractiveFilterBase(source, host, IDS_PROGRESS_FRAMES, kOptions)
{
    m_types.push_back(std::make_unique<CFadingFrame>());
    m_types.push_back(std::make_unique<CSingleFrame>());
    m_types.push_back(std::make_unique<CDoubleFrame>());
}

CFrameType* CInteractiveFrameFilter::TypeNamed(WStringView name) const
{
    for (const auto& type : m_types) {
        if (EqualsIgnoringCase(type->Name(), name)) return type.get();
    }
    return nullptr;
}

bool CInteractiveFrameFilter::SelectType(WStringView name)
{
    CFrameType* type = TypeNamed(name);
    if (type == nullptr) return false;
    m_selected = type;
    return true;
}

bool CInteractiveFrameFilter::CreateDialogWindow(QWidget* parent, IStatus** status)
{
    if (parent == nullptr) return ReportStatus(status, kStatusInvalidArgument);
    AdoptDialog(new CInteractiveFrameFilterDlg(parent, this, PreviewSite()));
    return true;
}

CApplyOutcome CInteractiveFrameFilter::CheckInput(IUnknown* input)
{
    return input == nullptr ? CApplyOutcome::Failed(kStatusInvalidArgument) : CApplyOutcome::Done();
}

// The text names the type to draw; a text without a name keeps the one the dialog
// selected. With neither there is nothing to draw.
CApplyOutcome CInteractiveFrameFilter::ReadSettings(IUnknown*)
{
    const CParamList params(Format().c_str());
    if (const char16_t* name = params.Get(kFrameNameKey); name != nullptr && !SelectType(name))
        return CApplyOutcome::Failed(kStatusHostRefused);
    if (m_selected == nullptr) return CApplyOutcome::Failed(kStatusHostRefused);
    if (!m_selected->ReadSettings(params)) return CApplyOutcome::Failed(kStatusCancelled);
    return CApplyOutcome::Done();
}

// A copy that cannot be made or reached is a failed drawing, not a refusal of the host.
CApplyOutcome CInteractiveFrameFilter::MakeWorkingImage(IUnknown* input, CComPtr<IImage>& working)
{
    if (!CloneInput(input, true, working).Succeeded()) return CApplyOutcome::Failed(kStatusCancelled);
    return CApplyOutcome::Done();
}

CApplyOutcome CInteractiveFrameFilter::ChangePixels(IUnknown*, IImage* working, IProgress* progress)
{
    if (!m_selected->Draw(RowsOfImage(working), ReportTo(progress))) return CApplyOutcome::Failed(kStatusCancelled);
    return CApplyOutcome::Done();
}
