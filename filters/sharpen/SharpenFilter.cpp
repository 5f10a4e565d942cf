#include "filters/sharpen/SharpenFilter.h"

#include "Common/params/ParamList.h"
#include "Common/progress/MultiphaseProgress.h"
#include "filters/shared/gaussian/GaussianKernel.h"
#include "filters/shared/pixels/KernelBridge.h"
#include "filters/sharpen/SharpenDialog.h"
#include "filters/sharpen/SharpenKernelMerge.h"
#include "filters/sharpen/SharpenPassSteps.h"
#include "platform/Localization.h"
#include "resources/StringIds.h"

#include <utility>

namespace {

// The page decides which keys the apply needs, so the settings come first.
constexpr ApplyOptions kOptions{.order = {ApplyStep::Settings, ApplyStep::WorkingImage, ApplyStep::Announce}};

} // namespace

CInteractiveSharpnessFilter::CInteractiveSharpnessFilter(IUnknown* source, IPluginHost* host)
    : CInteractiveFilterBase(source, host, IDS_PROGRESS_SHARPNESS, kOptions),
      m_path(ChosenBlurPath())
{
}

// A malformed text may still name the page: its operation then finds none of its keys
// and refuses it.
CApplyOutcome CInteractiveSharpnessFilter::ReadSettings(IUnknown*)
{
    CParamList params;
    const bool wellFormed = params.Parse(Format().c_str()) == 0;
    const char16_t* page = params.Get(kSharpenActivePageKey);
    if (page == nullptr) return CApplyOutcome::Failed(kStatusHostRefused);
    const CParamList empty;
    const CParamList& keys = wellFormed ? params : empty;
    m_settings = {};
    if (WStringView(page) == kGaussianBlurPageName) {
        if (!keys.GetDouble(kGaussianBlurSizeKey, m_settings.sigma)) return CApplyOutcome::Failed(kStatusHostRefused);
        return CApplyOutcome::Done();
    }
    if (WStringView(page) != kUnsharpMaskPageName) return CApplyOutcome::Failed(kStatusHostRefused);
    m_settings.unsharpMask = true;
    if (!keys.GetDouble(kUnsharpMaskSizeKey, m_settings.sigma) ||
        !keys.GetDouble(kUnsharpMaskAmountKey, m_settings.amount) ||
        !keys.GetInt(kUnsharpMaskThresholdKey, m_settings.threshold)) {
        return CApplyOutcome::Failed(kStatusHostRefused);
    }
    return CApplyOutcome::Done();
}

// The blur reads the source through its bitmap and writes the copy.
CApplyOutcome CInteractiveSharpnessFilter::MakeWorkingImage(IUnknown* input, CComPtr<IImage>& working)
{
    if (const CApplyOutcome made = CloneInput(input, true, working); !made.Succeeded()) return made;
    if (RowsOfImage(input).bits == nullptr) return CApplyOutcome::Failed(kStatusHostRefused);
    return CApplyOutcome::Done();
}

// Both blur passes, and the unsharp mask's merge, run together row by row; the hosts
// still see each pass's steps: a row per step, a column per step, a row per step.
CApplyOutcome CInteractiveSharpnessFilter::ChangePixels(IUnknown* input, IImage* working, IProgress* progress)
{
    const PixelRows source = RowsOfImage(input);
    const PixelRows output = RowsOfImage(working);
    if (m_settings.unsharpMask && !UnsharpMergeAccepts(m_settings.threshold, m_path)) {
        return CApplyOutcome::Failed(kStatusCancelled);
    }
    std::vector<CSharpenPassSteps::Pass> passes = {{IDS_PROGRESS_HORIZONTAL_BLURRING, source.height},
                                                   {IDS_PROGRESS_VERTICAL_BLURRING, source.width}};
    if (m_settings.unsharpMask) passes.push_back({IDS_PROGRESS_MERGING, source.height});
    int grandTotal = 0;
    for (const CSharpenPassSteps::Pass& pass : passes) grandTotal += pass.steps;
    CComPtr<IProgress> phases;
    if (progress != nullptr && !CMultiphaseProgress::Create(phases.Receive(), progress, grandTotal))
        return CApplyOutcome::Failed(kStatusHostRefused);

    CSharpenPassSteps steps(phases.Get(), std::move(passes));
    const BlurredRowMerge merge =
        m_settings.unsharpMask ? UnsharpRowMerge(m_settings.amount, m_settings.threshold, m_path) : BlurredRowMerge{};
    const bool done =
        BlurPicture(source, output, BuildGaussianKernel(m_settings.sigma), m_path, steps.Report(), merge);
    return done ? CApplyOutcome::Done() : CApplyOutcome::Failed(kStatusCancelled);
}

bool CInteractiveSharpnessFilter::CreateDialogWindow(QWidget* parent, IStatus** status)
{
    if (parent == nullptr) return ReportStatus(status, kStatusInvalidArgument);
    AdoptDialog(new CSharpenSheet(parent, this, PreviewSite()));
    return true;
}
