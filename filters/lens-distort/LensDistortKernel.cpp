#include "filters/lens-distort/LensDistortKernel.h"

#include "filters/shared/parallel/RowBands.h"
#include "platform/CpuFeatures.h"

#include <algorithm>
#include <cmath>

namespace {

uint32_t PixelOrZero(const PixelRows& source, int x, int y)
{
    if (x < 0 || y < 0 || x >= source.width || y >= source.height) return 0;
    return source.Row(y)[x];
}

double Channel(uint32_t pixel, int shift)
{
    return static_cast<double>(pixel >> shift & 0xFF);
}

// The largest integer not above value, for values that fit an int: the conversion
// truncates towards 0, one too high for negative fractions.
int Floor(double value)
{
    const auto truncated = static_cast<int>(value);
    return truncated > value ? truncated - 1 : truncated;
}

// To nearest, halves to even, for 0 <= value <= 255: adding 2^52 leaves no bits for
// the fraction, so the addition rounds in the processor's default mode, as nearbyint
// does, without a library call per channel.
double RoundedHalfEven(double value)
{
    constexpr double kNoFraction = 4503599627370496.0;
    return (value + kNoFraction) - kNoFraction;
}

// Far outside the picture the floor may not fit an int, and NaN has none: such points
// are settled as the four zeros they would read before anything is converted.
uint32_t Interpolated(const PixelRows& source, double sx, double sy)
{
    if (!(sx >= -1.0 && sx < source.width && sy >= -1.0 && sy < source.height)) return 0;
    const int x0 = Floor(sx);
    const int y0 = Floor(sy);
    const double left = x0;
    const double bottom = y0;
    const double fx = sx - left;
    const double fy = sy - bottom;
    const double w00 = (1 - fx) * (1 - fy);
    const double w01 = (1 - fx) * fy;
    const double w10 = fx * (1 - fy);
    const double w11 = fx * fy;
    const uint32_t p00 = PixelOrZero(source, x0, y0);
    const uint32_t p01 = PixelOrZero(source, x0, y0 + 1);
    const uint32_t p10 = PixelOrZero(source, x0 + 1, y0);
    const uint32_t p11 = PixelOrZero(source, x0 + 1, y0 + 1);
    uint32_t pixel = 0;
    for (const int shift : {16, 8, 0}) {
        // Sums are added in this order and rounded half to even: exact halves occur,
        // and other roundings move them.
        const double sum = Channel(p00, shift) * w00 + Channel(p01, shift) * w01 + Channel(p10, shift) * w10 +
                           Channel(p11, shift) * w11;
        pixel |= static_cast<uint32_t>(RoundedHalfEven(std::clamp(sum, 0.0, 255.0))) << shift;
    }
    return pixel;
}

} // namespace

void LensRowPortable(const PixelRows& source, const LensGeometry& geometry, int y, int first, int last,
                     uint32_t* row)
{
    const double dy = y - geometry.cy;
    for (int x = first; x < last; ++x) {
        const double dx = x - geometry.cx;
        const double r = std::sqrt(dx * dx + dy * dy);
        // The centre has no direction to move along.
        if (r <= 0.1) {
            row[x] = PixelOrZero(source, x, y);
            continue;
        }
        const double n = r / geometry.reference;
        const double moved = geometry.reference * (n * n * n * geometry.coefficient + n);
        row[x] = Interpolated(source, dx / r * moved + geometry.cx, dy / r * moved + geometry.cy);
    }
}

void LensRowPairPortable(const PixelRows& source, const LensGeometry& geometry, int dy, const PixelRows& target)
{
    const auto write = [&](int y) {
        if (y >= 0 && y < target.height) LensRowPortable(source, geometry, y, 0, target.width, target.Row(y));
    };
    write(geometry.cy + dy);
    if (dy > 0) write(geometry.cy - dy);
}

LensRowPairLoop ChosenLensRowPairLoop()
{
    static const LensRowPairLoop loop = CpuHasAvx2() ? &LensRowPairAvx2 : &LensRowPairPortable;
    return loop;
}

bool DistortLens(const PixelRows& source, const PixelRows& target, double coefficient, const UnitReport& report)
{
    return DistortLensWith(source, target, coefficient, report, ChosenLensRowPairLoop(), KernelThreadCount());
}

bool DistortLensWith(const PixelRows& source, const PixelRows& target, double coefficient, const UnitReport& report,
                     LensRowPairLoop loop, int threads)
{
    const LensGeometry geometry{target.width / 2, target.height / 2,
                                std::min(target.width, target.height) * 0.5, coefficient};
    // Row cy is the pair at distance 0; the rows below it reach furthest.
    const int pairs = target.height > 0 ? geometry.cy + 1 : 0;
    const auto rows = [&](int first, int last) {
        for (int dy = first; dy < last; ++dy) loop(source, geometry, dy, target);
    };
    // The pairs before the next are the rows within that distance of the centre row.
    const auto rowsWritten = [&](int pairsDone) {
        if (pairsDone == 0) return 0;
        return std::min(target.height - 1, geometry.cy + pairsDone - 1) - std::max(0, geometry.cy - pairsDone + 1) + 1;
    };
    UnitReport inRows;
    if (report) inRows = [&](int done, int) { return report(rowsWritten(done), target.height); };
    return ForEachRowBand(pairs, inRows, rows, threads);
}
