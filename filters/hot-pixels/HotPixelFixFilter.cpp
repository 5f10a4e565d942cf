#include "filters/hot-pixels/HotPixelFixFilter.h"

#include "Common/params/ParamList.h"
#include "Common/progress/IndependantMultiphaseProgress.h"
#include "filters/hot-pixels/HotPixelFixDialog.h"
#include "filters/hot-pixels/HotPixelFixEngine.h"
#include "filters/hot-pixels/HotPixelFixSettings.h"
#include "resources/StringIds.h"

namespace {

// The intensity is read before the copy is made. Every Finish goes to the phases
// adapter, which keeps it to itself: the host's sink hears steps and the text only.
constexpr ApplyOptions kOptions{.order = {ApplyStep::Settings, ApplyStep::WorkingImage, ApplyStep::Announce},
                                .finishOnStop = false,
                                .finishOnSuccess = false};

constexpr int kPhases = 2;

} // namespace

CInteractiveHotPixelFix::CInteractiveHotPixelFix(IUnknown* source, IPluginHost* host)
    : CInteractiveFilterBase(source, host, IDS_PROGRESS_HOT_PIXEL, kOptions)
{
}

bool CInteractiveHotPixelFix::CreateDialogWindow(QWidget* parent, IStatus** status)
{
    if (parent == nullptr) return ReportStatus(status, kStatusInvalidArgument);
    AdoptDialog(new CDlgInteractiveHotPixelFix(parent, this, PreviewSite()));
    return true;
}

CApplyOutcome CInteractiveHotPixelFix::CheckInput(IUnknown* input)
{
    return input == nullptr ? CApplyOutcome::Failed(kStatusInvalidArgument) : CApplyOutcome::Done();
}

// No default: a text without the key did not come from the dialog, which always
// writes it.
CApplyOutcome CInteractiveHotPixelFix::ReadSettings(IUnknown*)
{
    if (!CParamList(Format().c_str()).GetInt(kHotPixelIntensityKey, m_intensity))
        return CApplyOutcome::Failed(kStatusHostRefused);
    return CApplyOutcome::Done();
}

// The work reaches the pixels through the copy's section, so the copy need not
// answer IBitmap.
CApplyOutcome CInteractiveHotPixelFix::MakeWorkingImage(IUnknown* input, CComPtr<IImage>& working)
{
    return CloneInput(input, false, working);
}

CApplyOutcome CInteractiveHotPixelFix::ChangePixels(IUnknown*, IImage* working, IProgress* progress)
{
    CComPtr<IProgress> phases;
    if (progress != nullptr) {
        if (!CIndependantMultiphaseProgress::Create(phases.Receive(), progress, kPhases, false))
            return CApplyOutcome::Failed(kStatusHostRefused);
        phases->SetText(ProgressText());
    }
    const bool fixed = FixHotPixelsInSection(working->GetBitmap(), m_intensity, phases.Get());
    if (phases) phases->Finish(fixed);
    return fixed ? CApplyOutcome::Done() : CApplyOutcome::Failed(kStatusCancelled);
}
