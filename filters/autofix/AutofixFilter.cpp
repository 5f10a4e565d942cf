#include "filters/autofix/AutofixFilter.h"

#include "Common/progress/IndependantMultiphaseProgress.h"
#include "filters/autofix/AutofixDialog.h"
#include "resources/StringIds.h"

namespace {

// The keys are read before the copy is made; the text is shown on the phases, once
// they exist.
constexpr ApplyOptions kOptions{.order = {ApplyStep::Settings, ApplyStep::WorkingImage, ApplyStep::Announce}};

} // namespace

// The filter works without the host object its factory offers; the rotation fix
// reaches the host through the free rotation's factory.
CInteractiveAutofixFilter::CInteractiveAutofixFilter(IUnknown* source, IPluginHost*)
    : CInteractiveFilterBase(source, nullptr, IDS_PROGRESS_AUTOFIX, kOptions)
{
}

bool CInteractiveAutofixFilter::CreateDialogWindow(QWidget* parent, IStatus** status)
{
    if (parent == nullptr) return ReportStatus(status, kStatusInvalidArgument);
    AdoptDialog(new CDlgInteractiveAutofix(parent, this, PreviewSite()));
    return true;
}

CApplyOutcome CInteractiveAutofixFilter::CheckInput(IUnknown* input)
{
    return input == nullptr ? CApplyOutcome::Failed(kStatusInvalidArgument) : CApplyOutcome::Done();
}

CApplyOutcome CInteractiveAutofixFilter::ReadSettings(IUnknown*)
{
    m_choice = ReadAutofixChoice(CParamList(Format().c_str()));
    return CApplyOutcome::Done();
}

// The fixes find out themselves whether the copy has pixels they can reach.
CApplyOutcome CInteractiveAutofixFilter::MakeWorkingImage(IUnknown* input, CComPtr<IImage>& working)
{
    return CloneInput(input, false, working);
}

// The phases let the fixes' own texts through, so the user sees which fix runs. A
// failing fix closes the sink without a status: nothing the host could act on.
CApplyOutcome CInteractiveAutofixFilter::ChangeImage(IUnknown*, CComPtr<IImage>& working, IProgress* progress)
{
    CComPtr<IProgress> phases;
    if (progress != nullptr) {
        if (!CIndependantMultiphaseProgress::Create(phases.Receive(), progress, m_choice.Count(), true))
            return CApplyOutcome::Failed(kStatusHostRefused);
        phases->SetText(ProgressText());
    }
    if (RunAutofixes(m_choice, working, phases.Get())) return CApplyOutcome::Done();
    if (progress != nullptr) progress->Finish(false);
    return CApplyOutcome::Refused();
}
