#include "filters/resize/ResizeKernelFunctions.h"

#include <cmath>
#include <numbers>

namespace {

double Sinc(double x)
{
    if (x == 0.0) return 1.0;
    const double angle = std::numbers::pi * x;
    return std::sin(angle) / angle;
}

} // namespace

double TriangleKernel(double distance)
{
    const double a = std::fabs(distance);
    return a <= 1.0 ? 1.0 - a : 0.0;
}

// B = C = 1/3. The terms are evaluated left to right in exactly this order and with
// these rounded constants: Horner's form or a regrouped cube moves some weights by
// one after truncation to 1/128.
double MitchellNetravaliKernel(double distance)
{
    const double a = std::fabs(distance);
    if (a < 1.0) return 1.1666666666666667 * a * a * a - (a + a) * a + 0.8888888888888888;
    if (a <= 2.0) {
        return -0.38888888888888884 * a * a * a + 1.9999999999999998 * a * a - 3.333333333333333 * a +
               1.7777777777777777;
    }
    return 0.0;
}

double LanczosKernel(double distance)
{
    if (std::fabs(distance) >= 3.0) return 0.0;
    return Sinc(distance) * Sinc(distance / 3.0);
}

bool KernelOfMode(int mode, ResizeKernel& kernel, int& radius)
{
    switch (mode) {
    case kResizeBartlett:
        kernel = &TriangleKernel;
        radius = 1;
        return true;
    case kResizeMitchellNetravali:
        kernel = &MitchellNetravaliKernel;
        radius = 2;
        return true;
    case kResizeLanczos:
        kernel = &LanczosKernel;
        radius = 3;
        return true;
    default:
        return false;
    }
}
