#include "filters/resize/ResizeFilter.h"

#include "Common/params/ParamList.h"
#include "filters/resize/ResizeDialog.h"
#include "filters/resize/ResizeKernelPlane.h"
#include "resources/StringIds.h"

#include <algorithm>

namespace {

// The host's interpolation codes of IResizableImage::Resize.
constexpr int kHostNearestNeighbour = 3;
constexpr int kHostBilinear = 4;

// Each of the three ways to a result reports its own failing check.
bool CloneKeepingPixels(IUnknown* source, CComPtr<IImage>& clone, IStatus** status)
{
    auto cloneable = CComPtr<ICloneable>::Query(source, IID_ICloneable);
    if (!cloneable) return ReportStatus(status, kStatusHostRefused);
    CComPtr<IUnknown> copy;
    if (!cloneable->Clone(copy.Receive())) return ReportStatus(status, kStatusOutOfMemory);
    clone = CComPtr<IImage>::Query(copy.Get(), IID_IImage);
    return clone ? true : ReportStatus(status, kStatusHostRefused);
}

bool ResizeByHost(IUnknown* source, int mode, int width, int height, CComPtr<IImage>& resized, IStatus** status)
{
    auto resizable = CComPtr<IResizableImage>::Query(source, IID_IResizableImage);
    if (!resizable) return ReportStatus(status, kStatusHostRefused);
    const int interpolation = mode == kResizeNearestNeighbour ? kHostNearestNeighbour : kHostBilinear;
    CComPtr<IUnknown> made;
    if (!resizable->Resize(width, height, made.Receive(), interpolation, 0)) {
        return ReportStatus(status, kStatusOutOfMemory);
    }
    resized = CComPtr<IImage>::Query(made.Get(), IID_IImage);
    return resized ? true : ReportStatus(status, kStatusHostRefused);
}

}  // namespace

CInteractiveResize::CInteractiveResize(IUnknown* source, IPluginHost* host)
    : m_inputs(source, host, IDS_PROGRESS_RESIZE)
{
}

bool CInteractiveResize::Apply(IUnknown* input, IImage** result, IProgress* progress, IStatus** status)
{
    IUnknown* source = m_inputs.InputOr(input);
    if (result == nullptr || source == nullptr) return ReportStatus(status, kStatusInvalidArgument);
    auto image = CComPtr<IImage>::Query(source, IID_IImage);
    if (!image) return ReportStatus(status, kStatusHostRefused);
    const Settings settings = ReadSettings(image.Get());

    CComPtr<IImage> resized;
    bool made = false;
    if (settings.mode == kResizeResolutionOnly) {
        made = CloneKeepingPixels(source, resized, status);
    } else if (settings.mode == kResizeNearestNeighbour || settings.mode == kResizeBilinear ||
               !ResamplerCanTake(settings)) {
        made = ResizeByHost(source, settings.mode, settings.width, settings.height, resized, status);
    } else {
        made = ResampleWithKernel(image.Get(), settings, progress, resized, status);
    }
    if (!made) return false;

    resized->SetResolution(settings.resolutionX, settings.resolutionY);
    *result = resized.Detach();
    if (progress != nullptr) progress->Finish(true);
    return true;
}

// The resampler needs room for its taps on either side of every pixel; smaller
// sources or targets go to the host's bilinear resize instead.
bool CInteractiveResize::ResamplerCanTake(const Settings& settings)
{
    const int smallest = static_cast<int>(CPlaneResizer::kMinimumSize);
    return std::min({settings.sourceWidth, settings.sourceHeight, settings.width, settings.height}) >= smallest;
}

// Missing keys keep the source's size and resolution and change nothing else.
CInteractiveResize::Settings CInteractiveResize::ReadSettings(IImage* source)
{
    Settings settings{0, 0, kResizeResolutionOnly, 0, 0, 0, 0};
    source->GetSize(&settings.sourceWidth, &settings.sourceHeight);
    settings.width = settings.sourceWidth;
    settings.height = settings.sourceHeight;
    source->GetResolution(&settings.resolutionX, &settings.resolutionY);
    const WString format = Format();
    const CParamList params(format.c_str());
    params.GetInt(kResizerModeKey, settings.mode);
    params.GetInt(kResizerWidthKey, settings.width);
    params.GetInt(kResizerHeightKey, settings.height);
    params.GetInt(kResizerResolutionXKey, settings.resolutionX);
    params.GetInt(kResizerResolutionYKey, settings.resolutionY);
    return settings;
}

bool CInteractiveResize::ResampleWithKernel(IImage* source, const Settings& settings, IProgress* progress,
                                            CComPtr<IImage>& resized, IStatus** status)
{
    IPluginHost* host = m_inputs.Host();
    if (host == nullptr) return ReportStatus(status, kStatusHostRefused);
    CComPtr<IImage> created;
    if (!host->CreateImage(created.Receive(), source)) return ReportStatus(status, kStatusOutOfMemory);
    auto bitmap = CComPtr<IBitmap>::Query(created.Get(), IID_IBitmap);
    if (!bitmap) return ReportStatus(status, kStatusHostRefused);
    if (!bitmap->Allocate(settings.width, settings.height, 32, nullptr)) {
        return ReportStatus(status, kStatusOutOfMemory);
    }
    if (!RunResampler(source, created.Get(), settings, progress, status)) return false;
    resized = created;
    return true;
}

bool CInteractiveResize::RunResampler(IImage* source, IImage* created, const Settings& settings, IProgress* progress,
                                      IStatus** status)
{
    ResizeKernel kernel = nullptr;
    int radius = 0;
    if (!KernelOfMode(settings.mode, kernel, radius)) return ReportStatus(status, kStatusHostRefused);
    if (source->GetPixels() == nullptr || created->GetPixels() == nullptr) {
        return ReportStatus(status, kStatusHostRefused);
    }
    if (progress != nullptr) progress->SetText(m_inputs.ProgressText());

    CPlaneResizer resizer;
    // An allocation failure here counts as the work ending unsuccessfully, like a
    // stop, rather than as a refusal by the host.
    const bool ready = resizer.Init(static_cast<uint32_t>(settings.sourceWidth),
                                    static_cast<uint32_t>(settings.sourceHeight), static_cast<uint32_t>(settings.width),
                                    static_cast<uint32_t>(settings.height), static_cast<uint32_t>(source->GetStride()),
                                    static_cast<uint32_t>(created->GetStride()), kernel, radius, 32);
    // A stop leaves part of the picture unresampled: nothing of it is handed out.
    if (!ready || !resizer.Run(created->GetPixels(), source->GetPixels(), progress)) {
        if (progress != nullptr) progress->Finish(false);
        return ReportStatus(status, kStatusCancelled);
    }
    return true;
}

bool CInteractiveResize::CreateDialogWindow(QWidget* parent, IStatus** status)
{
    if (parent == nullptr) return ReportStatus(status, kStatusInvalidArgument);
    AdoptDialog(new CDlgInteractiveResize(parent, this, PreviewSite(), m_inputs.Source()));
    return true;
}
