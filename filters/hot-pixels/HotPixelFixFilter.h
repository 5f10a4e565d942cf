#pragma once
// Hot Pixel Fixer: lone, very bright pixels (sensor defects) are painted over with
// their surroundings; the intensity sets how much brighter than its surroundings a
// pixel must be.

#include "Common/base/InteractiveFilterBase.h"

class CInteractiveHotPixelFix final : public CInteractiveFilterBase {
public:
    CInteractiveHotPixelFix(IUnknown* source, IPluginHost* host);

protected:
    bool CreateDialogWindow(QWidget* parent, IStatus** status) override;
    CApplyOutcome CheckInput(IUnknown* input) override;
    CApplyOutcome ReadSettings(IUnknown* input) override;
    CApplyOutcome MakeWorkingImage(IUnknown* input, CComPtr<IImage>& working) override;
    CApplyOutcome ChangePixels(IUnknown* input, IImage* working, IProgress* progress) override;
    // The text goes to the phases adapter, which exists only once the copy does.
    bool AnnouncesWork() const override { return false; }

private:
    // Read by the apply under way.
    int m_intensity = 0;
};
