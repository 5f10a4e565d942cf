#pragma once
// Maps the whole-number positions 0 to 100 of a slider onto a range of real values,
// and a value back onto the nearest position.

// The order in which a position becomes a value. Both orders are exact in real
// numbers but round differently in doubles, and a dialog's stored texts depend on
// those last bits: a threshold stored as a truncated integer reads 28 for the
// position 29 when the position is divided first (the double nearest 0.29 lies
// just below it).
enum class SliderArithmetic {
    // (maximum - minimum) * (position / 100) + minimum.
    ShareOfSpan,
    // minimum + (maximum - minimum) * position / 100, dividing last.
    StepsFromMinimum,
};

class CSliderScale {
public:
    static constexpr int kFirstPosition = 0;
    static constexpr int kLastPosition = 100;

    // minimum < maximum, both finite; a tick every tickInterval positions.
    constexpr CSliderScale(double minimum, double maximum, SliderArithmetic arithmetic, int tickInterval)
        : m_minimum(minimum), m_maximum(maximum), m_arithmetic(arithmetic), m_tickInterval(tickInterval)
    {
    }

    // The position is first brought into 0 to 100, the value into the range.
    double ValueAt(int position) const;
    // The nearest position, halves rounded up, of the value brought into the range.
    // A NaN has no nearest position and goes to the first one.
    int PositionOf(double value) const;

    double Minimum() const { return m_minimum; }
    double Maximum() const { return m_maximum; }
    int TickInterval() const { return m_tickInterval; }

private:
    double m_minimum;
    double m_maximum;
    SliderArithmetic m_arithmetic;
    int m_tickInterval;
};
