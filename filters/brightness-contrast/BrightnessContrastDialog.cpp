#include "filters/brightness-contrast/BrightnessContrastDialog.h"

#include "filters/brightness-contrast/BrightnessContrastKernel.h"
#include "filters/brightness-contrast/BrightnessContrastFilter.h"
#include "platform/DialogText.h"
#include "resources/StringIds.h"

#include <QLabel>
#include <QSlider>
#include <QVBoxLayout>

namespace {

constexpr double kBrightnessRange = 100.0;
constexpr double kContrastMaximum = 2.0;

} // namespace

CDlgInteractiveBrightnessContrast::CDlgInteractiveBrightnessContrast(QWidget* parent, IInteractiveFilter* filter,
                                                                     IPreviewSite* site)
    : CFilterDialog(parent, filter, site),
      m_brightnessScale(-kBrightnessRange, kBrightnessRange, kDefaultBrightness),
      m_contrastScale(0.0, kContrastMaximum, kDefaultContrast)
{
    // Sliders take the dialog's width, as its layout is resized.
    new QVBoxLayout(this);
    m_brightness = AddSlider(IDS_DLG107_BRIGHTNESS_LABEL, m_brightnessScale);
    m_contrast = AddSlider(IDS_DLG107_CONTRAST_LABEL, m_contrastScale);
    static_cast<QVBoxLayout*>(layout())->addStretch();
    PostStore();
}

QSlider* CDlgInteractiveBrightnessContrast::AddSlider(unsigned labelId, const CTrackbarScale& scale)
{
    auto* slider = new QSlider(Qt::Horizontal, this);
    slider->setRange(CTrackbarScale::kMinimumPosition, CTrackbarScale::kMaximumPosition);
    slider->setValue(scale.PositionOf(scale.Default()));
    slider->setTickPosition(QSlider::TicksBelow);
    slider->setTickInterval(CTrackbarScale::TickInterval());
    connect(slider, &QSlider::valueChanged, this, [this] { PostStore(); });
    auto* label = new QLabel(DialogText(labelId), this);
    label->setBuddy(slider);
    layout()->addWidget(label);
    layout()->addWidget(slider);
    return slider;
}

void CDlgInteractiveBrightnessContrast::StoreControls(CParamList& params)
{
    params.SetDouble(kBrightnessKey, m_brightnessScale.ValueAt(m_brightness->value()));
    params.SetDouble(kContrastKey, m_contrastScale.ValueAt(m_contrast->value()));
}

void CDlgInteractiveBrightnessContrast::ReloadControls(const CParamList& params)
{
    double value = 0.0;
    if (params.GetDouble(kBrightnessKey, value)) m_brightness->setValue(m_brightnessScale.PositionOf(value));
    if (params.GetDouble(kContrastKey, value)) m_contrast->setValue(m_contrastScale.PositionOf(value));
}
