#include "filters/sharpen/SharpenDialogPage.h"

#include "filters/sharpen/SharpenFilter.h"
#include "Common/dialogs/SliderTracking.h"
#include "platform/DialogText.h"

#include <QLabel>
#include <QSlider>
#include <QStackedWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace {

constexpr int kLastPosition = 100;
constexpr int kTickInterval = 10;

} // namespace

double SliderValue(int position, const SliderRange& range)
{
    const double value = range.minimum + (range.maximum - range.minimum) * position / kLastPosition;
    return std::clamp(value, range.minimum, range.maximum);
}

int SliderPosition(double value, const SliderRange& range)
{
    const double clamped = std::isnan(value) ? range.minimum : std::clamp(value, range.minimum, range.maximum);
    const double share = (clamped - range.minimum) / (range.maximum - range.minimum);
    const double position = std::floor(share * kLastPosition + 0.5);
    return static_cast<int>(std::clamp(position, 0.0, static_cast<double>(kLastPosition)));
}

CSharpenPage::CSharpenPage(IInteractiveFilter* filter, IPreviewSite* site, unsigned titleId, const char16_t* pageName)
    : CFilterPage(filter, site, DialogText(titleId)), m_pageName(pageName)
{
    // The layout stretches every control to the page's width as it is resized.
    new QVBoxLayout(this);
}

QSlider* CSharpenPage::AddSlider(unsigned labelId, const SliderRange& range, double start)
{
    auto* slider = new QSlider(Qt::Horizontal, this);
    slider->setRange(0, kLastPosition);
    slider->setTickInterval(kTickInterval);
    slider->setTickPosition(QSlider::TicksBelow);
    slider->setValue(SliderPosition(start, range));
    OnTrackingEnded(slider, [this] { PostStore(); });
    auto* label = new QLabel(DialogText(labelId), this);
    label->setBuddy(slider);
    layout()->addWidget(label);
    layout()->addWidget(slider);
    return slider;
}

void CSharpenPage::AddHint(unsigned hintId)
{
    auto* hint = new QLabel(DialogText(hintId), this);
    hint->setWordWrap(true);
    layout()->addWidget(hint);
    static_cast<QVBoxLayout*>(layout())->addStretch();
}

void CSharpenPage::StoreControls(CParamList& params)
{
    StorePageKeys(params);
    if (IsActivePage()) params.Set(kSharpenActivePageKey, m_pageName);
}

// A tabbed sheet keeps its pages in a stack whose current widget is the page shown.
bool CSharpenPage::IsActivePage() const
{
    const auto* stack = qobject_cast<const QStackedWidget*>(parentWidget());
    return stack != nullptr && stack->currentWidget() == this;
}
