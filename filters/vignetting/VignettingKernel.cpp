#include "filters/vignetting/VignettingKernel.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

namespace {

// A side of one pixel has its centre at 0: that axis does not darken, instead of
// dividing 0 by 0.
double ShareOfHalf(int position, int centre)
{
    if (centre == 0) return 0.0;
    return static_cast<double>(std::abs(position - centre)) / static_cast<double>(centre);
}

uint32_t Scaled(uint32_t pixel, double factor)
{
    const auto red = static_cast<uint32_t>(static_cast<double>(pixel >> 16 & 0xFF) * factor);
    const auto green = static_cast<uint32_t>(static_cast<double>(pixel >> 8 & 0xFF) * factor);
    const auto blue = static_cast<uint32_t>(static_cast<double>(pixel & 0xFF) * factor);
    return red << 16 | green << 8 | blue;
}

} // namespace

double VignetteFactor(double u, double v)
{
    const double r = std::sqrt(u * u + v * v);
    const double t = std::clamp(1.0 - r, 0.0, 1.0);
    return std::sqrt(t);
}

// The shares depend only on the column or only on the row, so they are worked out
// once each; the factor itself takes both and is computed per pixel.
bool Vignette(const PixelRows& image, const UnitReport& report)
{
    const int cx = image.width / 2;
    const int cy = image.height / 2;
    std::vector<double> columnShares(static_cast<size_t>(std::max(image.width, 0)));
    for (int x = 0; x < image.width; ++x) columnShares[static_cast<size_t>(x)] = ShareOfHalf(x, cx);
    for (int y = 0; y < image.height; ++y) {
        if (report && !report(y, image.height)) return false;
        const double v = ShareOfHalf(y, cy);
        uint32_t* row = image.Row(y);
        for (int x = 0; x < image.width; ++x)
            row[x] = Scaled(row[x], VignetteFactor(columnShares[static_cast<size_t>(x)], v));
    }
    return true;
}
