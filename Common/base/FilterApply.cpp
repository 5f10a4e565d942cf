#include "Common/base/FilterApply.h"

#include "Common/base/ImageCloning.h"

CFilterApply::CFilterApply(IUnknown* source, IPluginHost* host, unsigned progressTextId, const ApplyOptions& options)
    : m_inputs(source, host, progressTextId), m_options(options)
{
}

// The working image is released on every failing path with the CComPtr; nothing is
// handed out unless every step and the work succeeded.
bool CFilterApply::RunApply(IUnknown* input, IImage** result, IProgress* progress, IStatus** status)
{
    ProgressText();
    if (bool applied = false; AppliesElsewhere(input, result, progress, status, applied)) return applied;
    if (result == nullptr) return ReportStatus(status, kStatusInvalidArgument);
    const struct EndOfApply {
        CFilterApply& filter;
        ~EndOfApply() { filter.EndApply(); }
    } end{*this};
    IUnknown* from = InputOr(input);
    if (const CApplyOutcome checked = CheckInput(from); !checked.Succeeded()) return checked.Report(status);

    CComPtr<IImage> working;
    bool announced = false;
    for (const ApplyStep step : m_options.order) {
        const CApplyOutcome outcome = RunStep(step, from, working, progress);
        announced = announced || (step == ApplyStep::Announce && AnnouncesWork());
        if (outcome.Succeeded()) continue;
        if (announced && m_options.finishOnRefusal && progress != nullptr) progress->Finish(false);
        return outcome.Report(status);
    }
    const CApplyOutcome work = ChangeImage(from, working, progress);
    if (!work.Succeeded()) {
        const bool tell = work.Stopped() ? m_options.finishOnStop : announced && m_options.finishOnRefusal;
        if (tell && progress != nullptr) progress->Finish(false);
        return work.Report(status);
    }
    *result = working.Detach();
    if (m_options.finishOnSuccess && progress != nullptr) progress->Finish(true);
    return true;
}

CApplyOutcome CFilterApply::RunStep(ApplyStep step, IUnknown* input, CComPtr<IImage>& working, IProgress* progress)
{
    switch (step) {
    case ApplyStep::WorkingImage:
        return MakeWorkingImage(input, working);
    case ApplyStep::Settings:
        return ReadSettings(input);
    case ApplyStep::Announce:
        if (AnnouncesWork() && progress != nullptr) progress->SetText(ProgressText());
        return CApplyOutcome::Done();
    }
    return CApplyOutcome::Done();
}

bool CFilterApply::AppliesElsewhere(IUnknown*, IImage**, IProgress*, IStatus**, bool&)
{
    return false;
}

CApplyOutcome CFilterApply::ChangeImage(IUnknown* input, CComPtr<IImage>& working, IProgress* progress)
{
    return ChangePixels(input, working.Get(), progress);
}

CApplyOutcome CFilterApply::ChangePixels(IUnknown*, IImage*, IProgress*)
{
    return CApplyOutcome::Done();
}

CApplyOutcome CFilterApply::CheckInput(IUnknown*)
{
    return CApplyOutcome::Done();
}

CApplyOutcome CFilterApply::ReadSettings(IUnknown*)
{
    return CApplyOutcome::Done();
}

CApplyOutcome CFilterApply::MakeWorkingImage(IUnknown* input, CComPtr<IImage>& working)
{
    return CloneInput(input, true, working);
}

CApplyOutcome CFilterApply::CloneInput(IUnknown* input, bool needsPixels, CComPtr<IImage>& working)
{
    working = CloneAsImage(input);
    if (!working) return CApplyOutcome::Failed(kStatusHostRefused);
    if (!needsPixels) return CApplyOutcome::Done();
    auto bitmap = CComPtr<IBitmap>::Query(working.Get(), IID_IBitmap);
    if (!bitmap || bitmap->GetPixels() == nullptr) return CApplyOutcome::Failed(kStatusHostRefused);
    return CApplyOutcome::Done();
}

CApplyOutcome CFilterApply::CreateLikeInput(IUnknown* input, int width, int height, StatusCode refusal,
                                            CComPtr<IImage>& made) const
{
    const auto source = CComPtr<IImage>::Query(input, IID_IImage);
    if (Host() == nullptr || !source) return CApplyOutcome::Failed(kStatusHostRefused);
    CComPtr<IImage> created;
    if (!Host()->CreateImage(created.Receive(), source.Get())) return CApplyOutcome::Failed(refusal);
    auto bitmap = CComPtr<IBitmap>::Query(created.Get(), IID_IBitmap);
    if (!bitmap) return CApplyOutcome::Failed(kStatusHostRefused);
    if (!bitmap->Allocate(width, height, 32, nullptr)) return CApplyOutcome::Failed(refusal);
    if (source->GetPixels() == nullptr || created->GetPixels() == nullptr)
        return CApplyOutcome::Failed(kStatusHostRefused);
    made = created;
    return CApplyOutcome::Done();
}
