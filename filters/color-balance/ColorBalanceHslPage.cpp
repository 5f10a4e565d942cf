#include "filters/color-balance/ColorBalanceHslPage.h"

#include "filters/color-balance/ColorBalanceSettings.h"
#include "resources/StringIds.h"

#include <QSlider>

namespace {

// The hue trackbar runs from 0 to 360 with the rotation 0 in its middle.
constexpr int kHueOffset = static_cast<int>(kHueSetting.minimum);
constexpr int kLastHue = static_cast<int>(kHueSetting.maximum - kHueSetting.minimum);
constexpr double kStepsPerFactor = 100.0;
constexpr int kLastFactor = static_cast<int>(kSaturationSetting.maximum * kStepsPerFactor);

} // namespace

CColorBalanceHslPage::CColorBalanceHslPage(IInteractiveFilter* filter, IPreviewSite* site)
    : CColorBalancePage(filter, site, IDS_DLG5015_TITLE, kHslPageName),
      m_hue(AddTrackbar(IDS_DLG5015_HUE_LABEL, kLastHue, static_cast<int>(kHueSetting.start) - kHueOffset, kHueOffset)),
      m_saturation(AddTrackbar(IDS_DLG5015_SATURATION_LABEL, kLastFactor,
                               static_cast<int>(kSaturationSetting.start * kStepsPerFactor), 0)),
      m_lightness(AddTrackbar(IDS_DLG5015_LIGHTNESS_LABEL, kLastFactor,
                              static_cast<int>(kLightnessSetting.start * kStepsPerFactor), 0))
{
    CloseColumn();
}

void CColorBalanceHslPage::StorePageKeys(CParamList& params)
{
    params.SetDouble(kHueKey, m_hue->value() + kHueOffset);
    params.SetDouble(kSaturationKey, m_saturation->value() / kStepsPerFactor);
    params.SetDouble(kLightnessKey, m_lightness->value() / kStepsPerFactor);
}

// Truncated toward zero, like every position read from a text: a factor may come
// back one step lower than it was stored (0.29 x 100 lies just below 29).
void CColorBalanceHslPage::ReloadControls(const CParamList& params)
{
    double value = 0.0;
    if (params.GetDouble(kHueKey, value)) m_hue->setValue(TruncatedPosition(value - kHueOffset));
    if (params.GetDouble(kSaturationKey, value)) m_saturation->setValue(TruncatedPosition(value * kStepsPerFactor));
    if (params.GetDouble(kLightnessKey, value)) m_lightness->setValue(TruncatedPosition(value * kStepsPerFactor));
    UpdateLabels();
}
