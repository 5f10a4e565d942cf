#include "Common/dialogs/SliderValueBox.h"

#include <QHBoxLayout>
#include <QSlider>

#include <algorithm>
#include <cmath>
#include <utility>

namespace {

constexpr int kDecimals = 4;
// Wide enough for "-0.0002" and "100.25", so that the slider keeps its width.
constexpr int kWidthInDigits = 7;

} // namespace

SliderValues PlainSliderValues()
{
    return {[](int position) { return static_cast<double>(position); },
            [](double value) {
                if (std::isnan(value)) return 0;
                return static_cast<int>(std::clamp(std::floor(value + 0.5), -1e9, 1e9));
            }};
}

SliderValues ScaledSliderValues(const CSliderScale& scale)
{
    return {[scale](int position) { return scale.ValueAt(position); },
            [scale](double value) { return scale.PositionOf(value); }};
}

SliderValues DividedSliderValues(double positionsPerUnit)
{
    const SliderValues plain = PlainSliderValues();
    return {[positionsPerUnit](int position) { return position / positionsPerUnit; },
            [positionsPerUnit, plain](double value) { return plain.positionOf(value * positionsPerUnit); }};
}

QString SliderValueText(double value)
{
    QString text = QString::number(value, 'f', kDecimals);
    while (text.endsWith(u'0')) text.chop(1);
    if (text.endsWith(u'.')) text.chop(1);
    // A value a hair below zero rounds to "-0", which reads like a different number.
    return text == QStringLiteral("-0") ? QStringLiteral("0") : text;
}

CSliderValueBox::CSliderValueBox(QSlider* slider, SliderValues values, QWidget* parent)
    : QLineEdit(parent), m_slider(slider), m_values(std::move(values))
{
    setAlignment(Qt::AlignRight);
    setFixedWidth(fontMetrics().horizontalAdvance(QLatin1Char('0')) * kWidthInDigits + 2 * textMargins().left() + 12);
    setAccessibleName(slider->accessibleName());
    ShowSliderValue();
    connect(m_slider, &QSlider::valueChanged, this, &CSliderValueBox::ShowSliderValue);
    connect(this, &QLineEdit::editingFinished, this, &CSliderValueBox::TakeTypedValue);
}

void CSliderValueBox::ShowSliderValue()
{
    setText(SliderValueText(m_values.valueAt(m_slider->value())));
}

// The slider reports the move as a keyboard step would, so every dialog stores it
// at once; a number the slider cannot show is replaced by the one it went to.
void CSliderValueBox::TakeTypedValue()
{
    bool ok = false;
    const double typed = text().trimmed().replace(u',', u'.').toDouble(&ok);
    if (ok) m_slider->setValue(m_values.positionOf(typed));
    ShowSliderValue();
}

QWidget* SliderWithValueBox(QSlider* slider, SliderValues values)
{
    auto* row = new QWidget(slider->parentWidget());
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    slider->setParent(row);
    layout->addWidget(slider, 1);
    layout->addWidget(new CSliderValueBox(slider, std::move(values), row), 0, Qt::AlignTop);
    return row;
}
