#include "Common/dialogs/SliderRow.h"

#include "platform/DialogText.h"

#include <QLabel>
#include <QLayout>
#include <QSlider>

#include <utility>

namespace {

void ConnectMoves(QSlider* slider, SliderStore store, std::function<void()> moved)
{
    if (store == SliderStore::OnEveryChange) {
        QObject::connect(slider, &QSlider::valueChanged, slider, std::move(moved));
        return;
    }
    QObject::connect(slider, &QSlider::sliderReleased, slider, moved);
    QObject::connect(slider, &QSlider::valueChanged, slider, [slider, moved] {
        if (!slider->isSliderDown()) moved();
    });
}

} // namespace

SliderRow ScaledSliderRow(unsigned labelId, const CSliderScale& scale, double start)
{
    return SliderRow{labelId, CSliderScale::kFirstPosition, CSliderScale::kLastPosition, scale.PositionOf(start),
                     scale.TickInterval()};
}

QSlider* AddSliderRow(QWidget* owner, const SliderRow& row, SliderStore store, std::function<void()> moved,
                      SliderValues values)
{
    auto* slider = new QSlider(Qt::Horizontal, owner);
    slider->setRange(row.firstPosition, row.lastPosition);
    slider->setValue(row.startPosition);
    slider->setTickPosition(QSlider::TicksBelow);
    slider->setTickInterval(row.tickInterval);
    // Connected after the start position is set, so that setting it reports nothing.
    ConnectMoves(slider, store, std::move(moved));
    auto* label = new QLabel(DialogText(row.labelId), owner);
    label->setBuddy(slider);
    owner->layout()->addWidget(label);
    owner->layout()->addWidget(SliderWithValueBox(slider, std::move(values)));
    return slider;
}
