#include "filters/resize/ResizeDialogUnits.h"

#include <climits>
#include <cmath>

namespace {

constexpr double kCentimetresPerInch = 2.54;

bool Convertible(double amount, double resolution, int sourceSize)
{
    return amount >= 0.0 && resolution > 0.0 && sourceSize >= 0;
}

} // namespace

int TruncatedToInt(double value)
{
    if (std::isnan(value)) return 0;
    if (value >= static_cast<double>(INT_MAX)) return INT_MAX;
    if (value <= static_cast<double>(INT_MIN)) return INT_MIN;
    return static_cast<int>(value);
}

int ToPixels(double value, double resolution, int sourceSize, int unit)
{
    if (!Convertible(value, resolution, sourceSize)) return 0;
    switch (unit) {
    case kUnitInch:
        return TruncatedToInt(resolution * value + 0.5);
    case kUnitCentimetre:
        return TruncatedToInt(resolution * (value / kCentimetresPerInch) + 0.5);
    case kUnitPercent:
        return TruncatedToInt(sourceSize * value / 100.0 + 0.5);
    default:
        return TruncatedToInt(value + 0.5);
    }
}

double FromPixels(int pixels, double resolution, int sourceSize, int unit)
{
    if (!Convertible(pixels, resolution, sourceSize)) return 0.0;
    switch (unit) {
    case kUnitInch:
        return pixels / resolution;
    case kUnitCentimetre:
        return pixels / resolution * kCentimetresPerInch;
    case kUnitPercent:
        return static_cast<double>(pixels) / sourceSize * 100.0;
    default:
        return pixels;
    }
}
