#include "filters/color-balance/ColorBalancePage.h"

#include "Common/dialogs/SliderValueBox.h"
#include "filters/color-balance/ColorBalanceSettings.h"
#include "platform/DialogText.h"

#include <QGridLayout>
#include <QLabel>
#include <QSlider>
#include <QStackedWidget>

#include <algorithm>
#include <cmath>

namespace {

constexpr int kTrackbarColumn = 0;
constexpr int kValueColumn = 1;
constexpr int kTicks = 8;
constexpr double kLargestPosition = 1e6;

} // namespace

CColorBalancePage::CColorBalancePage(IInteractiveFilter* filter, IPreviewSite* site, unsigned titleId,
                                     const char16_t* pageName)
    : CFilterPage(filter, site, DialogText(titleId)), m_pageName(pageName), m_layout(new QGridLayout(this))
{
    // The trackbars take the page's width; their numbers stay at its right edge.
    m_layout->setColumnStretch(kTrackbarColumn, 1);
}

QSlider* CColorBalancePage::AddTrackbar(unsigned labelId, int last, int start, int shownOffset)
{
    const int row = m_layout->rowCount();
    auto* caption = new QLabel(DialogText(labelId), this);
    auto* slider = new QSlider(Qt::Horizontal, this);
    slider->setRange(0, last);
    slider->setValue(start);
    slider->setTickPosition(QSlider::TicksBelow);
    slider->setTickInterval(last / kTicks);
    caption->setBuddy(slider);
    const SliderValues plain = PlainSliderValues();
    auto* value = new CSliderValueBox(
        slider,
        {[shownOffset](int position) { return static_cast<double>(position + shownOffset); },
         [shownOffset, plain](double shown) { return plain.positionOf(shown) - shownOffset; }},
        this);
    m_layout->addWidget(caption, row, kTrackbarColumn, 1, 2);
    m_layout->addWidget(slider, row + 1, kTrackbarColumn);
    m_layout->addWidget(value, row + 1, kValueColumn);
    m_trackbars.push_back({slider, value, shownOffset});
    UpdateLabels();
    // Connected after the start is set: only the user's moves and reloads report.
    QObject::connect(slider, &QSlider::valueChanged, this, [this] {
        UpdateLabels();
        PostStore();
    });
    return slider;
}

void CColorBalancePage::AddWide(QWidget* control)
{
    m_layout->addWidget(control, m_layout->rowCount(), kTrackbarColumn, 1, 2);
}

void CColorBalancePage::CloseColumn()
{
    m_layout->setRowStretch(m_layout->rowCount(), 1);
}

void CColorBalancePage::UpdateLabels()
{
    for (const Trackbar& trackbar : m_trackbars) trackbar.value->setText(ValueText(trackbar.slider));
}

QString CColorBalancePage::ValueText(const QSlider* slider) const
{
    for (const Trackbar& trackbar : m_trackbars) {
        if (trackbar.slider == slider) return QString::number(slider->value() + trackbar.shownOffset);
    }
    return QString();
}

void CColorBalancePage::StoreControls(CParamList& params)
{
    StorePageKeys(params);
    if (IsActivePage()) params.Set(kColorBalanceActiveKey, m_pageName);
    UpdateLabels();
}

void CColorBalancePage::WatchActivation()
{
    auto* stack = qobject_cast<QStackedWidget*>(parentWidget());
    if (stack == nullptr) return;
    QObject::connect(stack, &QStackedWidget::currentChanged, this, [this] {
        if (IsActivePage()) OnActivated();
    });
}

int TruncatedPosition(double value)
{
    if (std::isnan(value)) return 0;
    return static_cast<int>(std::clamp(value, -kLargestPosition, kLargestPosition));
}
