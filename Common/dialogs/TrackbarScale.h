#pragma once
// Maps the whole-number positions of a slider onto a range of real values.

class CTrackbarScale {
public:
    static constexpr int kMinimumPosition = 0;
    static constexpr int kMaximumPosition = 100;
    static constexpr int kTickDivisor = 4;

    CTrackbarScale(double minimum, double maximum, double fallback)
        : m_minimum(minimum), m_maximum(maximum), m_default(fallback)
    {
    }

    double ValueAt(int position) const;
    int PositionOf(double value) const;

    double Minimum() const { return m_minimum; }
    double Maximum() const { return m_maximum; }
    double Default() const { return m_default; }
    // Positions of the tick marks: from the minimum in steps of a quarter of the range.
    static int TickInterval() { return (kMaximumPosition - kMinimumPosition) / kTickDivisor; }

private:
    double m_minimum;
    double m_maximum;
    double m_default;
};
