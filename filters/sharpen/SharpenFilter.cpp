#include "filters/sharpen/SharpenFilter.h"

#include "Common/params/ParamList.h"
#include "Common/progress/MultiphaseProgress.h"
#include "filters/shared/gaussian/GaussianKernel.h"
#include "filters/shared/pixels/KernelBridge.h"
#include "filters/sharpen/SharpenDialog.h"
#include "filters/sharpen/SharpenKernelMerge.h"
#include "platform/Localization.h"
#include "resources/StringIds.h"

#include <functional>

namespace {

// The page decides which keys the apply needs, so the settings come first.
constexpr ApplyOptions kOptions{.order = {ApplyStep::Settings, ApplyStep::WorkingImage, ApplyStep::Announce}};

// Each pass announces itself, which also starts its count from zero in the adapter.
bool RunPass(IProgress* phases, unsigned textId, const std::function<bool(const UnitReport&)>& pass)
{
    if (phases != nullptr) phases->SetText(LoadModuleString(textId).c_str());
    return pass(ReportTo(phases));
}

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

// The unsharp mask blurs into a copy of its own and merges into a second one; the
// source is read through its bitmap all along.
CApplyOutcome CInteractiveSharpnessFilter::MakeWorkingImage(IUnknown* input, CComPtr<IImage>& working)
{
    if (m_settings.unsharpMask) {
        if (const CApplyOutcome made = CloneInput(input, true, m_intermediate); !made.Succeeded()) return made;
    }
    if (const CApplyOutcome made = CloneInput(input, true, working); !made.Succeeded()) return made;
    if (RowsOfImage(input).bits == nullptr) return CApplyOutcome::Failed(kStatusHostRefused);
    return CApplyOutcome::Done();
}

CApplyOutcome CInteractiveSharpnessFilter::ChangePixels(IUnknown* input, IImage* working, IProgress* progress)
{
    const PixelRows source = RowsOfImage(input);
    const PixelRows output = RowsOfImage(working);
    const std::vector<int32_t> kernel = BuildGaussianKernel(m_settings.sigma);
    const int grandTotal = source.width + (m_settings.unsharpMask ? 2 : 1) * source.height;
    CComPtr<IProgress> phases;
    if (progress != nullptr && !CMultiphaseProgress::Create(phases.Receive(), progress, grandTotal))
        return CApplyOutcome::Failed(kStatusHostRefused);

    // The blur's second pass reads the first pass's values from the very image it
    // writes; the unsharp mask keeps them apart for the merge.
    const PixelRows columns = m_settings.unsharpMask ? RowsOfImage(m_intermediate.Get()) : output;
    bool done = RunPass(phases.Get(), IDS_PROGRESS_HORIZONTAL_BLURRING, [&](const UnitReport& report) {
                    return ConvolveColumns(source, columns, kernel, m_path, report);
                }) && RunPass(phases.Get(), IDS_PROGRESS_VERTICAL_BLURRING, [&](const UnitReport& report) {
                    return ConvolveRows(columns, output, kernel, m_path, report);
                });
    if (done && m_settings.unsharpMask) {
        done = RunPass(phases.Get(), IDS_PROGRESS_MERGING, [&](const UnitReport& report) {
            return MergeUnsharp(source, output, m_settings.amount, m_settings.threshold, m_path, report);
        });
    }
    return done ? CApplyOutcome::Done() : CApplyOutcome::Failed(kStatusCancelled);
}

bool CInteractiveSharpnessFilter::CreateDialogWindow(QWidget* parent, IStatus** status)
{
    if (parent == nullptr) return ReportStatus(status, kStatusInvalidArgument);
    AdoptDialog(new CSharpenSheet(parent, this, PreviewSite()));
    return true;
}
