#include "Common/dialogs/SliderScale.h"

#include <algorithm>
#include <cmath>

double CSliderScale::ValueAt(int position) const
{
    const int clamped = std::clamp(position, kFirstPosition, kLastPosition);
    const double span = m_maximum - m_minimum;
    const double value = m_arithmetic == SliderArithmetic::ShareOfSpan
                             ? span * (static_cast<double>(clamped) / kLastPosition) + m_minimum
                             : m_minimum + span * clamped / kLastPosition;
    return std::clamp(value, m_minimum, m_maximum);
}

int CSliderScale::PositionOf(double value) const
{
    // std::clamp lets a NaN through, and converting a NaN to int is undefined.
    if (std::isnan(value)) return kFirstPosition;
    const double clamped = std::clamp(value, m_minimum, m_maximum);
    const double position = std::floor((clamped - m_minimum) / (m_maximum - m_minimum) * kLastPosition + 0.5);
    return static_cast<int>(std::clamp(position, static_cast<double>(kFirstPosition), static_cast<double>(kLastPosition)));
}
