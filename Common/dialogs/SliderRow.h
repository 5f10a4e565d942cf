#pragma once
// A labelled horizontal slider, the row every slider dialog is built from: the label
// above, the slider with ticks below it and its number at its right, all added to the
// owner's layout.

#include "Common/dialogs/SliderScale.h"
#include "Common/dialogs/SliderValueBox.h"

#include <functional>

class QSlider;
class QWidget;

// When a slider reports a move. Neighbourhood filters are slow: they wait for the
// end of a movement (the release after a drag, or a keyboard or page step, which
// moves without dragging), since the positions passed while dragging would re-apply
// them for nothing.
enum class SliderStore {
    OnEveryChange,
    WhenMovementEnds,
};

struct SliderRow {
    unsigned labelId;
    int firstPosition;
    int lastPosition;
    int startPosition;
    // 0 leaves the spacing of the ticks to the slider's steps.
    int tickInterval;
};

// A row over the scale's positions that starts at the position of start.
SliderRow ScaledSliderRow(unsigned labelId, const CSliderScale& scale, double start);

// owner must have a layout. moved runs as store says, never for the start position.
// The number shows values, by default the positions themselves.
QSlider* AddSliderRow(QWidget* owner, const SliderRow& row, SliderStore store, std::function<void()> moved,
                      SliderValues values = PlainSliderValues());
