#include "filters/vignetting/VignettingKernel.h"
#include "filters/shared/parallel/RowBands.h"

#include "platform/CpuFeatures.h"

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

// Products lie in 0 .. 255, so the conversions through int are exact.
uint32_t ScaledPixel(uint32_t pixel, double factor)
{
    const auto red = static_cast<int>(static_cast<int>(pixel >> 16 & 0xFF) * factor);
    const auto green = static_cast<int>(static_cast<int>(pixel >> 8 & 0xFF) * factor);
    const auto blue = static_cast<int>(static_cast<int>(pixel & 0xFF) * factor);
    return static_cast<uint32_t>(red << 16 | green << 8 | blue);
}

void FactorsPortable(const double* uSquares, double vSquare, double* factors, int count)
{
    for (int i = 0; i < count; ++i) {
        const double r = std::sqrt(uSquares[i] + vSquare);
        factors[i] = std::sqrt(std::clamp(1.0 - r, 0.0, 1.0));
    }
}

void ScalePortable(uint32_t* pixels, const double* factors, int count)
{
    for (int i = 0; i < count; ++i) pixels[i] = ScaledPixel(pixels[i], factors[i]);
}

void ScaleMirroredPortable(uint32_t* pixels, const double* factors, int count)
{
    for (int i = 0; i < count; ++i) pixels[i] = ScaledPixel(pixels[i], factors[count - 1 - i]);
}

} // namespace

const VignetteLoops kPortableVignetteLoops{&FactorsPortable, &ScalePortable, &ScaleMirroredPortable};

const VignetteLoops& ChosenVignetteLoops()
{
    static const VignetteLoops& loops = CpuHasAvx2() ? kAvx2VignetteLoops : kPortableVignetteLoops;
    return loops;
}

bool Vignette(const PixelRows& image, const UnitReport& report)
{
    return VignetteWith(image, report, ChosenVignetteLoops());
}

namespace {

// One row: its factors by distance (into byDistance), then both sides scaled.
void VignetteRow(const PixelRows& image, int y, const std::vector<double>& uSquares, std::vector<double>& byDistance,
                 const VignetteLoops& loops)
{
    const int width = image.width;
    const int cx = width / 2;
    const double v = ShareOfHalf(y, image.height / 2);
    const double vSquare = v * v;
    const auto inside = static_cast<int>(
        std::partition_point(uSquares.begin(), uSquares.end(),
                             [vSquare](double uSquare) { return uSquare + vSquare < 1.0; }) -
        uSquares.begin());
    loops.factors(uSquares.data(), vSquare, byDistance.data(), inside);

    uint32_t* row = image.Row(y);
    // Left: distances cx - x for x < cx, the darkened ones 1 .. left.
    const int left = std::min(std::max(inside - 1, 0), cx);
    std::fill(row, row + (cx - left), 0u);
    loops.scaleMirrored(row + (cx - left), byDistance.data() + 1, left);
    // Right: distances x - cx for x >= cx, the darkened ones 0 .. right - 1.
    const int right = std::min(inside, width - cx);
    loops.scale(row + cx, byDistance.data(), right);
    std::fill(row + cx + right, row + width, 0u);
}

} // namespace

// A pixel's factor depends on its distance from the centre column, not on its side,
// so each row works out one factor per distance (0 to cx, the left side being the
// longer) and reads them forwards on the right and backwards on the left. The squares
// of the column shares are the same on every row. They grow with the distance, and
// from the first distance whose sum of squares reaches 1 on, r >= 1 (the root is
// monotonic and exact at 1) and every factor is 0: those pixels become 0 without
// any root, which spares the corners most of the work.
bool VignetteWith(const PixelRows& image, const UnitReport& report, const VignetteLoops& loops)
{
    const int cx = image.width / 2;
    std::vector<double> uSquares(static_cast<size_t>(cx) + 1);
    for (int distance = 0; distance <= cx; ++distance) {
        const double u = ShareOfHalf(cx + distance, cx);
        uSquares[static_cast<size_t>(distance)] = u * u;
    }
    const auto rows = [&](int first, int last) {
        std::vector<double> byDistance(uSquares.size());
        for (int y = first; y < last; ++y) VignetteRow(image, y, uSquares, byDistance, loops);
    };
    return ForEachRowBand(image.height, report, rows);
}
