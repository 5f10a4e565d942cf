#include "filters/noise/NoiseAddPage.h"

#include "Common/dialogs/SliderRow.h"
#include "filters/noise/NoiseSettings.h"
#include "resources/StringIds.h"

#include <QSlider>

#include <algorithm>
#include <cmath>

namespace {

constexpr int kLastPosition = 100;
constexpr double kPositionsPerAmount = 100.0;
constexpr int kTickInterval = 10;

} // namespace

double NoiseAmountAt(int position)
{
    return std::clamp(position / kPositionsPerAmount, kAddNoiseAmountSetting.minimum, kAddNoiseAmountSetting.maximum);
}

// Clamped as a double first, so that no amount is too large to become a position.
int NoiseAmountPosition(double amount)
{
    const double position = std::floor(amount * kPositionsPerAmount + 0.5);
    if (std::isnan(position)) return 0;
    return static_cast<int>(std::clamp(position, 0.0, static_cast<double>(kLastPosition)));
}

CNoiseAddNoisePage::CNoiseAddNoisePage(IInteractiveFilter* filter, IPreviewSite* site)
    : CNoisePage(filter, site, IDS_NOISE_ADD_PAGE, kAddNoisePageName),
      m_amount(AddSliderRow(this,
                            SliderRow{IDS_DLG106_AMOUNT_LABEL, 0, kLastPosition,
                                      NoiseAmountPosition(kAddNoiseAmountSetting.start), kTickInterval},
                            SliderStore::WhenMovementEnds, [this] { PostStore(); },
                            DividedSliderValues(kPositionsPerAmount)))
{
    AddHint(IDS_DLG106_HINT);
}

void CNoiseAddNoisePage::StorePageKeys(CParamList& params)
{
    params.SetDouble(kAddNoiseAmountKey, NoiseAmountAt(m_amount->value()));
}

void CNoiseAddNoisePage::ReloadControls(const CParamList& params)
{
    double amount = 0.0;
    if (params.GetDouble(kAddNoiseAmountKey, amount)) m_amount->setValue(NoiseAmountPosition(amount));
}
