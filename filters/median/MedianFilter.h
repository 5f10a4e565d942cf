#pragma once
// Median: every pixel becomes the middle pixel of its neighbourhood by brightness.

#include "Common/base/InteractiveFilterBase.h"
#include "filters/median/MedianSettings.h"


class CInteractiveMedianFilter final : public CInteractiveFilterBase {
public:
    CInteractiveMedianFilter(IUnknown* source, IPluginHost* host);

protected:
    bool CreateDialogWindow(QWidget* parent, IStatus** status) override;
    CApplyOutcome ReadSettings(IUnknown* input) override;
    CApplyOutcome ChangePixels(IUnknown* input, IImage* working, IProgress* progress) override;

private:
    // Read by the apply under way.
    int m_radius = 0;
};
