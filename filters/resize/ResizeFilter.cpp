#include "filters/resize/ResizeFilter.h"

#include "Common/params/ParamList.h"
#include "filters/resize/ResizeDialog.h"
#include "filters/resize/ResizeKernelPlane.h"
#include "filters/shared/pixels/KernelBridge.h"
#include "resources/StringIds.h"

#include <algorithm>

namespace {

// The host's interpolation codes of IResizableImage::Resize.
constexpr int kHostNearestNeighbour = 3;
constexpr int kHostBilinear = 4;

// The mode decides where the result comes from, so the settings come first; the
// resampler announces itself once its target is ready.
constexpr ApplyOptions kOptions{.order = {ApplyStep::Settings, ApplyStep::WorkingImage, ApplyStep::Announce}};

// Each of the three ways to a result reports its own failing check.
CApplyOutcome CloneKeepingPixels(IUnknown* source, CComPtr<IImage>& clone)
{
    auto cloneable = CComPtr<ICloneable>::Query(source, IID_ICloneable);
    if (!cloneable) return CApplyOutcome::Failed(kStatusHostRefused);
    CComPtr<IUnknown> copy;
    if (!cloneable->Clone(copy.Receive())) return CApplyOutcome::Failed(kStatusOutOfMemory);
    clone = CComPtr<IImage>::Query(copy.Get(), IID_IImage);
    return clone ? CApplyOutcome::Done() : CApplyOutcome::Failed(kStatusHostRefused);
}

CApplyOutcome ResizeByHost(IUnknown* source, int mode, int width, int height, CComPtr<IImage>& resized)
{
    auto resizable = CComPtr<IResizableImage>::Query(source, IID_IResizableImage);
    if (!resizable) return CApplyOutcome::Failed(kStatusHostRefused);
    const int interpolation = mode == kResizeNearestNeighbour ? kHostNearestNeighbour : kHostBilinear;
    CComPtr<IUnknown> made;
    if (!resizable->Resize(width, height, made.Receive(), interpolation, 0))
        return CApplyOutcome::Failed(kStatusOutOfMemory);
    resized = CComPtr<IImage>::Query(made.Get(), IID_IImage);
    return resized ? CApplyOutcome::Done() : CApplyOutcome::Failed(kStatusHostRefused);
}

} // namespace

CInteractiveResize::CInteractiveResize(IUnknown* source, IPluginHost* host)
    : CInteractiveFilterBase(source, host, IDS_PROGRESS_RESIZE, kOptions)
{
}

CApplyOutcome CInteractiveResize::CheckInput(IUnknown* input)
{
    if (input == nullptr) return CApplyOutcome::Failed(kStatusInvalidArgument);
    if (!CComPtr<IImage>::Query(input, IID_IImage)) return CApplyOutcome::Failed(kStatusHostRefused);
    return CApplyOutcome::Done();
}

// Missing keys keep the source's size and resolution and change nothing else.
CApplyOutcome CInteractiveResize::ReadSettings(IUnknown* input)
{
    const auto source = CComPtr<IImage>::Query(input, IID_IImage);
    Settings& settings = m_settings;
    settings = {0, 0, kResizeResolutionOnly, 0, 0, 0, 0};
    source->GetSize(&settings.sourceWidth, &settings.sourceHeight);
    settings.width = settings.sourceWidth;
    settings.height = settings.sourceHeight;
    source->GetResolution(&settings.resolutionX, &settings.resolutionY);
    const CParamList params(Format().c_str());
    params.GetInt(kResizerModeKey, settings.mode);
    params.GetInt(kResizerWidthKey, settings.width);
    params.GetInt(kResizerHeightKey, settings.height);
    params.GetInt(kResizerResolutionXKey, settings.resolutionX);
    params.GetInt(kResizerResolutionYKey, settings.resolutionY);
    return CApplyOutcome::Done();
}

// The resampler needs room for its taps on either side of every pixel; smaller
// sources or targets go to the host's bilinear resize instead.
bool CInteractiveResize::UsesResampler() const
{
    const Settings& settings = m_settings;
    if (settings.mode == kResizeResolutionOnly || settings.mode == kResizeNearestNeighbour ||
        settings.mode == kResizeBilinear) {
        return false;
    }
    const int smallest = static_cast<int>(CPlaneResizer::kMinimumSize);
    return std::min({settings.sourceWidth, settings.sourceHeight, settings.width, settings.height}) >= smallest;
}

CApplyOutcome CInteractiveResize::MakeWorkingImage(IUnknown* input, CComPtr<IImage>& working)
{
    if (m_settings.mode == kResizeResolutionOnly) return CloneKeepingPixels(input, working);
    if (!UsesResampler()) return ResizeByHost(input, m_settings.mode, m_settings.width, m_settings.height, working);
    return MakeResamplerTarget(CComPtr<IImage>::Query(input, IID_IImage).Get(), working);
}

CApplyOutcome CInteractiveResize::MakeResamplerTarget(IImage* source, CComPtr<IImage>& working)
{
    CComPtr<IImage> created;
    const CApplyOutcome made = CreateLikeInput(source, m_settings.width, m_settings.height, kStatusOutOfMemory, created);
    if (!made.Succeeded()) return made;
    if (!KernelOfMode(m_settings.mode, m_kernel, m_radius)) return CApplyOutcome::Failed(kStatusHostRefused);
    working = created;
    return CApplyOutcome::Done();
}

// An allocation failure of the resampler counts as the work ending unsuccessfully,
// like a stop, rather than as a refusal by the host; a stop leaves part of the
// picture unresampled, so nothing of it is handed out.
CApplyOutcome CInteractiveResize::ChangePixels(IUnknown* input, IImage* working, IProgress* progress)
{
    if (UsesResampler()) {
        const auto source = CComPtr<IImage>::Query(input, IID_IImage);
        CPlaneResizer resizer;
        const Settings& settings = m_settings;
        const bool ready = resizer.Init(
            static_cast<uint32_t>(settings.sourceWidth), static_cast<uint32_t>(settings.sourceHeight),
            static_cast<uint32_t>(settings.width), static_cast<uint32_t>(settings.height),
            static_cast<uint32_t>(source->GetStride()), static_cast<uint32_t>(working->GetStride()), m_kernel,
            m_radius, 32);
        if (!ready || !resizer.Run(working->GetPixels(), source->GetPixels(), ReportTo(progress)))
            return CApplyOutcome::Failed(kStatusCancelled);
    }
    working->SetResolution(m_settings.resolutionX, m_settings.resolutionY);
    return CApplyOutcome::Done();
}

bool CInteractiveResize::CreateDialogWindow(QWidget* parent, IStatus** status)
{
    if (parent == nullptr) return ReportStatus(status, kStatusInvalidArgument);
    AdoptDialog(new CDlgInteractiveResize(parent, this, PreviewSite(), Source()));
    return true;
}
