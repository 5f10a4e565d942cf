#pragma once
// Two sliders, brightness and contrast, each a hundred steps over its range.

#include "Common/dialogs/FilterDialog.h"
#include "Common/dialogs/TrackbarScale.h"

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
    QSlider* AddSlider(unsigned labelId, const CTrackbarScale& scale);

    const CTrackbarScale m_brightnessScale;
    const CTrackbarScale m_contrastScale;
    QSlider* m_brightness;
    QSlider* m_contrast;
};
