#include "Common/dialogs/TrackbarScale.h"

#include <algorithm>

double CTrackbarScale::ValueAt(int position) const
{
    const int clamped = std::clamp(position, kMinimumPosition, kMaximumPosition);
    const double t = static_cast<double>(clamped) / kMaximumPosition;
    const double value = (m_maximum - m_minimum) * t + m_minimum;
    return std::clamp(value, m_minimum, m_maximum);
}

// Rounds half up, the way the slider shows a value set from a parameter text.
int CTrackbarScale::PositionOf(double value) const
{
    const double clamped = std::clamp(value, m_minimum, m_maximum);
    const double position = (clamped - m_minimum) / (m_maximum - m_minimum) * kMaximumPosition + kMinimumPosition + 0.5;
    return std::clamp(static_cast<int>(position), kMinimumPosition, kMaximumPosition);
}
