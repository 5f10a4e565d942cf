#include "filters/sharpen/SharpenFilter.h"

#include "Common/base/ImageCloning.h"
#include "Common/progress/MultiphaseProgress.h"
#include "Common/params/ParamList.h"
#include "Common/status/Status.h"
#include "filters/shared/gaussian/GaussianKernel.h"
#include "filters/shared/pixels/KernelBridge.h"
#include "filters/sharpen/SharpenDialog.h"
#include "filters/sharpen/SharpenKernelMerge.h"
#include "platform/CpuFeatures.h"
#include "platform/Localization.h"
#include "resources/StringIds.h"

#include <functional>

namespace {

// A clone of input to work in, with its rows; false when the host refuses any of it.
bool CloneToWorkIn(IUnknown* input, CComPtr<IImage>& image, PixelRows& rows)
{
    image = CloneAsImage(input);
    const auto bitmap = CComPtr<IBitmap>::Query(image.Get(), IID_IBitmap);
    rows = RowsOfBitmap(bitmap.Get());
    return rows.bits != nullptr;
}

// The phases adapter over the host's sink, or none without a sink; false when it
// cannot be made.
bool MakePhases(IProgress* progress, int grandTotal, CComPtr<IProgress>& phases)
{
    return progress == nullptr || CMultiphaseProgress::Create(phases.Receive(), progress, grandTotal);
}

// Each pass announces itself, which also starts its count from zero in the adapter.
bool RunPass(IProgress* phases, unsigned textId, const std::function<bool(const UnitReport&)>& pass)
{
    if (phases != nullptr) phases->SetText(LoadModuleString(textId).c_str());
    return pass(ReportTo(phases));
}

bool Deliver(bool done, CComPtr<IImage>& output, IImage** result, IProgress* progress, IStatus** status)
{
    if (progress != nullptr) progress->Finish(done);
    if (!done) return ReportStatus(status, kStatusCancelled);
    *result = output.Detach();
    return true;
}

} // namespace

CInteractiveSharpnessFilter::CInteractiveSharpnessFilter(IUnknown* source, IPluginHost* host)
    : m_inputs(source, host, IDS_PROGRESS_SHARPNESS), m_path(CpuHasSse2() ? BlurPath::FixedPoint : BlurPath::Portable)
{
}

bool CInteractiveSharpnessFilter::Apply(IUnknown* input, IImage** result, IProgress* progress, IStatus** status)
{
    // Loaded as every filter's is, though each pass shows a text of its own.
    m_inputs.ProgressText();
    if (result == nullptr) return ReportStatus(status, kStatusInvalidArgument);
    CParamList params;
    // A malformed text may still name the page: its operation then finds none of its
    // keys and refuses it.
    const bool wellFormed = params.Parse(Format().c_str()) == 0;
    const char16_t* page = params.Get(kSharpenActivePageKey);
    if (page == nullptr) return ReportStatus(status, kStatusHostRefused);
    const CParamList empty;
    const CParamList& settings = wellFormed ? params : empty;
    if (WStringView(page) == kUnsharpMaskPageName) return UnsharpMask(input, settings, result, progress, status);
    if (WStringView(page) == kGaussianBlurPageName) return GaussianBlur(input, settings, result, progress, status);
    return ReportStatus(status, kStatusHostRefused);
}

bool CInteractiveSharpnessFilter::GaussianBlur(IUnknown* input, const CParamList& params, IImage** result,
                                               IProgress* progress, IStatus** status)
{
    IUnknown* from = m_inputs.InputOr(input);
    const auto sourceBitmap = CComPtr<IBitmap>::Query(from, IID_IBitmap);
    const PixelRows source = RowsOfBitmap(sourceBitmap.Get());
    CComPtr<IImage> output;
    PixelRows blurred;
    if (!CloneToWorkIn(from, output, blurred) || source.bits == nullptr) {
        return ReportStatus(status, kStatusHostRefused);
    }
    double sigma = 0.0;
    if (!params.GetDouble(kGaussianBlurSizeKey, sigma)) return ReportStatus(status, kStatusHostRefused);
    const std::vector<int32_t> kernel = BuildGaussianKernel(sigma);
    CComPtr<IProgress> phases;
    if (!MakePhases(progress, source.width + source.height, phases)) return ReportStatus(status, kStatusHostRefused);

    const bool done =
        RunPass(phases.Get(), IDS_PROGRESS_HORIZONTAL_BLURRING,
                [&](const UnitReport& report) { return ConvolveColumns(source, blurred, kernel, m_path, report); }) &&
        RunPass(phases.Get(), IDS_PROGRESS_VERTICAL_BLURRING,
                [&](const UnitReport& report) { return ConvolveRows(blurred, blurred, kernel, m_path, report); });
    return Deliver(done, output, result, progress, status);
}

bool CInteractiveSharpnessFilter::UnsharpMask(IUnknown* input, const CParamList& params, IImage** result,
                                              IProgress* progress, IStatus** status)
{
    IUnknown* from = m_inputs.InputOr(input);
    const auto sourceBitmap = CComPtr<IBitmap>::Query(from, IID_IBitmap);
    const PixelRows source = RowsOfBitmap(sourceBitmap.Get());
    CComPtr<IImage> intermediate;
    CComPtr<IImage> output;
    PixelRows columns;
    PixelRows merged;
    if (!CloneToWorkIn(from, intermediate, columns) || !CloneToWorkIn(from, output, merged) || source.bits == nullptr) {
        return ReportStatus(status, kStatusHostRefused);
    }
    double sigma = 0.0;
    double amount = 0.0;
    int threshold = 0;
    if (!params.GetDouble(kUnsharpMaskSizeKey, sigma) || !params.GetDouble(kUnsharpMaskAmountKey, amount) ||
        !params.GetInt(kUnsharpMaskThresholdKey, threshold)) {
        return ReportStatus(status, kStatusHostRefused);
    }
    const std::vector<int32_t> kernel = BuildGaussianKernel(sigma);
    CComPtr<IProgress> phases;
    if (!MakePhases(progress, source.width + 2 * source.height, phases)) {
        return ReportStatus(status, kStatusHostRefused);
    }

    const bool done =
        RunPass(phases.Get(), IDS_PROGRESS_HORIZONTAL_BLURRING,
                [&](const UnitReport& report) { return ConvolveColumns(source, columns, kernel, m_path, report); }) &&
        RunPass(phases.Get(), IDS_PROGRESS_VERTICAL_BLURRING,
                [&](const UnitReport& report) { return ConvolveRows(columns, merged, kernel, m_path, report); }) &&
        RunPass(phases.Get(), IDS_PROGRESS_MERGING, [&](const UnitReport& report) {
            return MergeUnsharp(source, merged, amount, threshold, m_path, report);
        });
    return Deliver(done, output, result, progress, status);
}

bool CInteractiveSharpnessFilter::CreateDialogWindow(QWidget* parent, IStatus** status)
{
    if (parent == nullptr) return ReportStatus(status, kStatusInvalidArgument);
    AdoptDialog(new CSharpenSheet(parent, this, PreviewSite()));
    return true;
}
