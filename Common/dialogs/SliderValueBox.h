#pragma once
// The number beside a slider: it shows the setting the slider's position stands for
// and takes a typed one. A typed number moves the slider to the nearest position,
// so the dialog stores the same parameter text as when the slider is moved there
// (Brightness typed as 20 is the slider at 20, and the text says 20).

#include "Common/dialogs/SliderScale.h"

#include <QLineEdit>

#include <functional>

class QSlider;

// Between a slider's positions and the settings they stand for.
struct SliderValues {
    std::function<double(int position)> valueAt;
    std::function<int(double value)> positionOf;
};

// The position is the setting (sizes, levels, percentages).
SliderValues PlainSliderValues();
SliderValues ScaledSliderValues(const CSliderScale& scale);
// A setting that is position / positionsPerUnit, the nearest position for a value.
SliderValues DividedSliderValues(double positionsPerUnit);

// "20", "1.02", "-0.5": four decimals at most, no trailing zeros, "." as point.
QString SliderValueText(double value);

class CSliderValueBox final : public QLineEdit {
public:
    CSliderValueBox(QSlider* slider, SliderValues values, QWidget* parent);

private:
    void ShowSliderValue();
    void TakeTypedValue();

    QSlider* m_slider;
    SliderValues m_values;
};

// The slider with its number at its right, in a row widget that takes the slider's
// place in its owner's layout; the slider is moved into the row.
QWidget* SliderWithValueBox(QSlider* slider, SliderValues values);
