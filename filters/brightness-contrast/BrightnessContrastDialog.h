#pragma once
// Two sliders, brightness and contrast, each a hundred steps over its range.

#include "Common/dialogs/FilterDialog.h"

class QSlider;

class CDlgInteractiveBrightnessContrast final : public CFilterDialog {
public:
    CDlgInteractiveBrightnessContrast(QWidget* parent, IInteractiveFilter* filter, IPreviewSite* site);

    QSlider* BrightnessSlider() const { return m_brightness; }
    QSlider* ContrastSlider() const { return m_contrast; }

protected:
    void StoreControls(CParamList& params) override;
    void ReloadControls(const CParamList& params) override;

private:
    QSlider* m_brightness;
    QSlider* m_contrast;
};
