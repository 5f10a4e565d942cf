#pragma once
// Sharpen: a Gaussian blur, or an unsharp mask built on the same blur, whichever page
// of the settings sheet the user looked at last.

#include "Common/base/InteractiveFilterBase.h"
#include "filters/shared/gaussian/SeparablePasses.h"
#include "filters/sharpen/SharpenSettings.h"

#include <cstdint>
#include <vector>


class CInteractiveSharpnessFilter final : public CInteractiveFilterBase {
public:
    CInteractiveSharpnessFilter(IUnknown* source, IPluginHost* host);

protected:
    bool CreateDialogWindow(QWidget* parent, IStatus** status) override;
    CApplyOutcome ReadSettings(IUnknown* input) override;
    CApplyOutcome MakeWorkingImage(IUnknown* input, CComPtr<IImage>& working) override;
    CApplyOutcome ChangePixels(IUnknown* input, IImage* working, IProgress* progress) override;
    // Each pass shows a text of its own through the phases adapter.
    bool AnnouncesWork() const override { return false; }

private:
    // What the settings of the apply under way ask for.
    struct Settings {
        bool unsharpMask = false;
        double sigma = 0.0;
        double amount = 0.0;
        int threshold = 0;
    };

    Settings m_settings;
    // Chosen once, from the processor, when the filter is made.
    BlurPath m_path;
};
