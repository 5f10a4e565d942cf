#pragma once
// The HSL page: a hue rotation from -180 to +180 degrees and factors of 0 to 2 for
// saturation and lightness, each a trackbar in whole steps.

#include "filters/color-balance/ColorBalancePage.h"

class CColorBalanceHslPage final : public CColorBalancePage {
public:
    CColorBalanceHslPage(IInteractiveFilter* filter, IPreviewSite* site);

    QSlider* HueSlider() const { return m_hue; }
    QSlider* SaturationSlider() const { return m_saturation; }
    QSlider* LightnessSlider() const { return m_lightness; }

protected:
    void StorePageKeys(CParamList& params) override;
    void ReloadControls(const CParamList& params) override;

private:
    QSlider* m_hue;
    QSlider* m_saturation;
    QSlider* m_lightness;
};
