#include "filters/lens-distort/LensDistortDialog.h"

#include "Common/dialogs/SliderValueBox.h"
#include "filters/lens-distort/LensDistortSettings.h"
#include "platform/DialogText.h"
#include "resources/StringIds.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QSlider>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace {

// A thousand steps over the range: the coefficient is set to 0.0002.
constexpr int kLastPosition = 1000;
constexpr double kSpan = kMostBarrel - kMostPincushion;

double CoefficientAt(int position)
{
    return static_cast<double>(std::clamp(position, 0, kLastPosition)) / kLastPosition * kSpan + kMostPincushion;
}

// The nearest position, halves up; the truncation is of a number already at least 0.5.
int PositionOf(double coefficient)
{
    const double inRange = std::clamp(coefficient, kMostPincushion, kMostBarrel);
    const auto position = static_cast<int>((inRange - kMostPincushion) / kSpan * kLastPosition + 0.5);
    return std::clamp(position, 0, kLastPosition);
}

} // namespace

CDlgLensDistort::CDlgLensDistort(QWidget* parent, IInteractiveFilter* filter, IPreviewSite* site)
    : CFilterDialog(parent, filter, site)
{
    // The trackbar takes the dialog's width as it is resized, with its two ends named
    // under it. Every position passed while dragging is stored: one pass over the
    // preview is quick.
    auto* layout = new QVBoxLayout(this);
    m_coefficient = new QSlider(Qt::Horizontal, this);
    m_coefficient->setRange(0, kLastPosition);
    m_coefficient->setValue(PositionOf(kDistortSetting.start));
    m_coefficient->setTickPosition(QSlider::TicksBelow);
    m_coefficient->setTickInterval(kLastPosition / 4);
    connect(m_coefficient, &QSlider::valueChanged, this, [this] { PostStore(); });
    layout->addWidget(SliderWithValueBox(m_coefficient, {CoefficientAt, PositionOf}));
    auto* ends = new QHBoxLayout;
    ends->addWidget(new QLabel(DialogText(IDS_DLG5012_PINCUSHION), this));
    ends->addStretch();
    ends->addWidget(new QLabel(DialogText(IDS_DLG5012_BARREL), this));
    layout->addLayout(ends);
    layout->addStretch();
    PostStore();
}

void CDlgLensDistort::StoreControls(CParamList& params)
{
    params.SetDouble(kDistortKey, CoefficientAt(m_coefficient->value()));
}

// A NaN has no position: the trackbar stays, as for a missing key.
void CDlgLensDistort::ReloadControls(const CParamList& params)
{
    double coefficient = 0.0;
    if (!params.GetDouble(kDistortKey, coefficient) || std::isnan(coefficient)) return;
    m_coefficient->setValue(PositionOf(coefficient));
}
