#pragma once
// The hot pixel fixer's settings: one trackbar for the intensity, 10 to 200, and a
// hint on where hot pixels come from.

#include "Common/dialogs/FilterDialog.h"

class QSlider;

class CDlgInteractiveHotPixelFix final : public CFilterDialog {
public:
    CDlgInteractiveHotPixelFix(QWidget* parent, IInteractiveFilter* filter, IPreviewSite* site);

    QSlider* IntensitySlider() const { return m_intensity; }

protected:
    void StoreControls(CParamList& params) override;
    void ReloadControls(const CParamList& params) override;

private:
    QSlider* m_intensity;
};
