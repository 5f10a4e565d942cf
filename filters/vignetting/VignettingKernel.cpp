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

// Each channel becomes the truncation of itself times its pixel's factor; the fourth
// byte becomes 0. Products lie in 0 .. 255, so the conversions through int are exact.
void ScaleRow(uint32_t* row, const double* factors, int width)
{
    for (int x = 0; x < width; ++x) {
        const uint32_t pixel = row[x];
        const auto red = static_cast<int>(static_cast<int>(pixel >> 16 & 0xFF) * factors[x]);
        const auto green = static_cast<int>(static_cast<int>(pixel >> 8 & 0xFF) * factors[x]);
        const auto blue = static_cast<int>(static_cast<int>(pixel & 0xFF) * factors[x]);
        row[x] = static_cast<uint32_t>(red << 16 | green << 8 | blue);
    }
}

// The factor of a pixel whose offsets from the centre, as shares of the half-sizes,
// are u and v. From r = 1 on, t is 0 and so is the factor; the root is monotonic
// and exact at 1, so a sum of squares of 1 or more gives r >= 1: the corners skip
// both roots and still get the rule's 0.
double VignetteFactor(double u, double v)
{
    const double squares = u * u + v * v;
    if (squares >= 1.0) return 0.0;
    const double r = std::sqrt(squares);
    const double t = std::clamp(1.0 - r, 0.0, 1.0);
    return std::sqrt(t);
}

} // namespace

// A pixel's factor depends on its distance from the centre column, not on its side:
// each row works out the factor once per distance (0 to cx, the left side being the
// longer) and spreads it over the row, so that the pixel loop reads the factors in
// step with the pixels.
bool Vignette(const PixelRows& image, const UnitReport& report)
{
    const int width = image.width;
    const int cx = width / 2;
    const int cy = image.height / 2;
    std::vector<double> shares(static_cast<size_t>(cx) + 1);
    for (int distance = 0; distance <= cx; ++distance)
        shares[static_cast<size_t>(distance)] = ShareOfHalf(cx + distance, cx);
    std::vector<double> byDistance(shares.size());
    std::vector<double> byColumn(static_cast<size_t>(width));
    for (int y = 0; y < image.height; ++y) {
        if (report && !report(y, image.height)) return false;
        const double v = ShareOfHalf(y, cy);
        for (size_t distance = 0; distance < shares.size(); ++distance)
            byDistance[distance] = VignetteFactor(shares[distance], v);
        for (int x = 0; x < width; ++x)
            byColumn[static_cast<size_t>(x)] = byDistance[static_cast<size_t>(std::abs(x - cx))];
        ScaleRow(image.Row(y), byColumn.data(), width);
    }
    return true;
}
