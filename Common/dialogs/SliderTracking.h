#pragma once
// Trackbars of the neighbourhood dialogs act where a movement ends: on the release
// after a drag, or on a keyboard or page step, which moves without dragging. The
// positions passed while dragging would re-apply a slow filter for nothing.

#include <QSlider>

template <class Handler>
void OnTrackingEnded(QSlider* slider, Handler handler)
{
    QObject::connect(slider, &QSlider::sliderReleased, slider, handler);
    QObject::connect(slider, &QSlider::valueChanged, slider, [slider, handler] {
        if (!slider->isSliderDown()) handler();
    });
}
