#pragma once
// Resize: a new pixel size by one of five resampling methods, a new print
// resolution, or both. Nearest neighbour and plain bilinear are the host's own
// resize service; the three filter-kernel methods run in CPlaneResizer.

#include "Common/base/InteractiveFilterBase.h"
#include "filters/resize/ResizeKernelFunctions.h"
#include "filters/resize/ResizeSettings.h"

class CInteractiveResize final : public CInteractiveFilterBase {
public:
    CInteractiveResize(IUnknown* source, IPluginHost* host);

protected:
    bool CreateDialogWindow(QWidget* parent, IStatus** status) override;
    CApplyOutcome CheckInput(IUnknown* input) override;
    CApplyOutcome ReadSettings(IUnknown* input) override;
    CApplyOutcome MakeWorkingImage(IUnknown* input, CComPtr<IImage>& working) override;
    CApplyOutcome ChangePixels(IUnknown* input, IImage* working, IProgress* progress) override;
    // Only the resampler reports progress; the host's resize and the copy make none.
    bool AnnouncesWork() const override { return UsesResampler(); }

private:
    struct Settings {
        int sourceWidth;
        int sourceHeight;
        int mode;
        int width;
        int height;
        int resolutionX;
        int resolutionY;
    };

    bool UsesResampler() const;
    // A new image of the wanted size from the host object, ready for the resampler.
    CApplyOutcome MakeResamplerTarget(IImage* source, CComPtr<IImage>& working);

    // Read by the apply under way.
    Settings m_settings{};
    ResizeKernel m_kernel = nullptr;
    int m_radius = 0;
};
