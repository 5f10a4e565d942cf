#include "filters/brightness-contrast/BrightnessContrastDialog.h"

#include "Common/dialogs/SliderRow.h"
#include "filters/brightness-contrast/BrightnessContrastFilter.h"
#include "filters/brightness-contrast/BrightnessContrastKernel.h"
#include "resources/StringIds.h"

#include <QSlider>
#include <QVBoxLayout>

namespace {

// Ticks at the ends, the middle and the quarters; one step is 2 levels of
// brightness or 0.02 of contrast.
constexpr int kQuarterTicks = (CSliderScale::kLastPosition - CSliderScale::kFirstPosition) / 4;
constexpr CSliderScale kBrightnessScale(kBrightnessSetting.minimum, kBrightnessSetting.maximum,
                                       SliderArithmetic::ShareOfSpan, kQuarterTicks);
constexpr CSliderScale kContrastScale(kContrastSetting.minimum, kContrastSetting.maximum, SliderArithmetic::ShareOfSpan,
                                     kQuarterTicks);

} // namespace

CDlgInteractiveBrightnessContrast::CDlgInteractiveBrightnessContrast(QWidget* parent, IInteractiveFilter* filter,
                                                                     IPreviewSite* site)
    : CFilterDialog(parent, filter, site)
{
    // Sliders take the dialog's width, as its layout is resized.
    auto* layout = new QVBoxLayout(this);
    const auto store = [this] { PostStore(); };
    m_brightness = AddSliderRow(this, ScaledSliderRow(IDS_DLG107_BRIGHTNESS_LABEL, kBrightnessScale, kBrightnessSetting.start),
                                SliderStore::OnEveryChange, store, ScaledSliderValues(kBrightnessScale));
    m_contrast = AddSliderRow(this, ScaledSliderRow(IDS_DLG107_CONTRAST_LABEL, kContrastScale, kContrastSetting.start),
                              SliderStore::OnEveryChange, store, ScaledSliderValues(kContrastScale));
    layout->addStretch();
    PostStore();
}

void CDlgInteractiveBrightnessContrast::StoreControls(CParamList& params)
{
    params.SetDouble(kBrightnessKey, kBrightnessScale.ValueAt(m_brightness->value()));
    params.SetDouble(kContrastKey, kContrastScale.ValueAt(m_contrast->value()));
}

void CDlgInteractiveBrightnessContrast::ReloadControls(const CParamList& params)
{
    double value = 0.0;
    if (params.GetDouble(kBrightnessKey, value)) m_brightness->setValue(kBrightnessScale.PositionOf(value));
    if (params.GetDouble(kContrastKey, value)) m_contrast->setValue(kContrastScale.PositionOf(value));
}
