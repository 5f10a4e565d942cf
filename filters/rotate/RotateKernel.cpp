#include "filters/rotate/RotateKernel.h"
#include "filters/shared/parallel/RowBands.h"

#include "platform/CpuFeatures.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace {

constexpr int32_t kFractionMask = kFixedPointOne - 1;
constexpr int32_t kHalf = kFixedPointOne / 2;

// A rounded 10-bit weight from the product of two 10-bit factors.
int32_t WeightOf(int32_t first, int32_t second)
{
    return (first * second + kHalf) >> kFixedPointBits;
}

int32_t ByteOf(uint32_t pixel, int shift)
{
    return static_cast<int32_t>((pixel >> shift) & 0xFFu);
}

// The four neighbours p00 (x0, y0), p10 (x0 + 1, y0), p01 (x0, y0 + 1), p11 (x0 + 1,
// y0 + 1) of a point with fractions fx, fy. The four weights can add up to 1026, so
// the clamp is needed for the bytes to stay bytes.
uint32_t Blend(uint32_t p00, uint32_t p10, uint32_t p01, uint32_t p11, int32_t fx, int32_t fy)
{
    const int32_t w00 = WeightOf(kFixedPointOne - fx, kFixedPointOne - fy);
    const int32_t w10 = WeightOf(fx, kFixedPointOne - fy);
    const int32_t w01 = WeightOf(kFixedPointOne - fx, fy);
    const int32_t w11 = WeightOf(fx, fy);
    uint32_t blended = 0;
    for (int shift = 0; shift < 32; shift += 8) {
        const int32_t sum = w00 * ByteOf(p00, shift) + w10 * ByteOf(p10, shift) + w01 * ByteOf(p01, shift) +
                            w11 * ByteOf(p11, shift);
        blended |= static_cast<uint32_t>(std::min(sum >> kFixedPointBits, 255)) << shift;
    }
    return blended;
}

uint32_t PixelOrBackground(const PixelRows& source, int x, int y, uint32_t background)
{
    const bool inside = x >= 0 && x < source.width && y >= 0 && y < source.height;
    return inside ? source.Row(y)[x] : background;
}

uint32_t BilinearChecked(const PixelRows& source, FixedPoint at, uint32_t background)
{
    const int x = at.x >> kFixedPointBits;
    const int y = at.y >> kFixedPointBits;
    return Blend(PixelOrBackground(source, x, y, background), PixelOrBackground(source, x + 1, y, background),
                 PixelOrBackground(source, x, y + 1, background), PixelOrBackground(source, x + 1, y + 1, background),
                 at.x & kFractionMask, at.y & kFractionMask);
}

uint32_t NearestChecked(const PixelRows& source, FixedPoint at, uint32_t background)
{
    return PixelOrBackground(source, (at.x + kHalf) >> kFixedPointBits, (at.y + kHalf) >> kFixedPointBits,
                             background);
}

FixedPoint Advanced(FixedPoint start, FixedPoint step, int count)
{
    return {start.x + count * step.x, start.y + count * step.y};
}

int64_t FloorDivision(int64_t numerator, int64_t denominator)
{
    const int64_t quotient = numerator / denominator;
    const bool inexact = quotient * denominator != numerator;
    return inexact && (numerator < 0) != (denominator < 0) ? quotient - 1 : quotient;
}

int64_t CeilingDivision(int64_t numerator, int64_t denominator)
{
    return -FloorDivision(-numerator, denominator);
}

// Output pixels first .. last-1.
struct Span {
    int64_t first;
    int64_t last;
};

// The part of span where low <= start + x * step <= high.
Span Narrowed(Span span, int64_t start, int64_t step, int64_t low, int64_t high)
{
    if (step == 0) return start >= low && start <= high ? span : Span{span.first, span.first};
    const int64_t lowest = step > 0 ? CeilingDivision(low - start, step) : CeilingDivision(high - start, step);
    const int64_t highest = step > 0 ? FloorDivision(high - start, step) : FloorDivision(low - start, step);
    // An empty part sits inside the span, so the pixels before it stay in the row.
    const int64_t first = std::clamp(lowest, span.first, span.last);
    return {first, std::max(first, std::min(span.last, highest + 1))};
}

// The part of span whose source points lie where x0 and y0 run from low to the
// source's size less lessThanSize, from the exact fixed-point positions.
Span Within(const PixelRows& source, FixedPoint start, FixedPoint step, Span span, int low, int lessThanSize)
{
    const int64_t lowest = int64_t{low} * kFixedPointOne;
    const int64_t highestX = int64_t{source.width - lessThanSize + 1} * kFixedPointOne - 1;
    const int64_t highestY = int64_t{source.height - lessThanSize + 1} * kFixedPointOne - 1;
    const Span alongX = Narrowed(span, start.x, step.x, lowest, highestX);
    return Narrowed(alongX, start.y, step.y, lowest, highestY);
}

// A row's pixels by what their four neighbours are: touching holds those with at
// least one inside the source (-1 <= x0 <= width-1, -1 <= y0 <= height-1), interior,
// within it, those with all four inside (0 <= x0 <= width-2, 0 <= y0 <= height-2), so
// that the interior needs no check and the pixels outside touching see only the
// background.
struct RowParts {
    Span touching;
    Span interior;
};

RowParts PartsOf(const PixelRows& source, FixedPoint start, FixedPoint step, int width)
{
    const Span touching = Within(source, start, step, {0, width}, -1, 1);
    return {touching, Within(source, start, step, touching, 0, 2)};
}

// A plane all background for the pixels that see nothing else: one row that every row
// index reads (stride 0). Blending four background pixels is not always the
// background pixel (the weights add up to 1023 .. 1026), so the interior loop blends
// them at vector speed, each piece of a span moved by whole pixels onto the row,
// which leaves the fractions and so the weights as they are.
class BackgroundPlane {
public:
    static constexpr int kPiece = 256;

    BackgroundPlane(uint32_t background, FixedPoint step)
        : m_row(static_cast<size_t>(std::abs(int64_t{step.x}) * kPiece / kFixedPointOne + 3), background)
    {
    }

    void Blend(FixedPoint start, FixedPoint step, int count, InteriorSpan interior, uint32_t* out) const
    {
        const PixelRows plane{reinterpret_cast<uint8_t*>(const_cast<uint32_t*>(m_row.data())), 0,
                              static_cast<int>(m_row.size()), 1};
        for (int done = 0; done < count; done += kPiece) {
            const FixedPoint first = Advanced(start, step, done);
            const int pieceCount = std::min(kPiece, count - done);
            const int32_t lastX = first.x + (pieceCount - 1) * step.x;
            const int32_t leftmost = (std::min(first.x, lastX) >> kFixedPointBits) * kFixedPointOne;
            const FixedPoint moved{first.x - leftmost, first.y & (kFixedPointOne - 1)};
            interior(plane, moved, step, pieceCount, out + done);
        }
    }

private:
    std::vector<uint32_t> m_row;
};

void BilinearRow(const PixelRows& source, FixedPoint start, FixedPoint step, uint32_t background,
                 const BackgroundPlane& outside, InteriorSpan interior, uint32_t* out, int width)
{
    const RowParts parts = PartsOf(source, start, step, width);
    const auto checked = [&](int64_t first, int64_t last) {
        for (auto x = static_cast<int>(first); x < last; ++x) {
            out[x] = BilinearChecked(source, Advanced(start, step, x), background);
        }
    };
    const auto onBackground = [&](int64_t first, int64_t last) {
        if (last > first) {
            outside.Blend(Advanced(start, step, static_cast<int>(first)), step, static_cast<int>(last - first),
                          interior, out + first);
        }
    };
    onBackground(0, parts.touching.first);
    checked(parts.touching.first, parts.interior.first);
    if (parts.interior.last > parts.interior.first) {
        interior(source, Advanced(start, step, static_cast<int>(parts.interior.first)), step,
                 static_cast<int>(parts.interior.last - parts.interior.first), out + parts.interior.first);
    }
    checked(parts.interior.last, parts.touching.last);
    onBackground(parts.touching.last, width);
}

void NearestRow(const PixelRows& source, FixedPoint start, FixedPoint step, uint32_t background, uint32_t* out,
                int width)
{
    for (int x = 0; x < width; ++x) out[x] = NearestChecked(source, Advanced(start, step, x), background);
}

// Calls fill(start, out) for every output row, in bands over the kernel threads.
template <class FillRow>
bool ForEachRow(const PixelRows& target, const RotationLayout& layout, const UnitReport& report, FillRow fill)
{
    return ForEachRowBand(layout.height, report, [&](int first, int last) {
        for (int y = first; y < last; ++y) fill(layout.RowStart(y), target.Row(y));
    });
}

} // namespace

void BilinearInteriorSpan(const PixelRows& source, FixedPoint start, FixedPoint step, int count, uint32_t* out)
{
    FixedPoint at = start;
    for (int i = 0; i < count; ++i) {
        const int y = at.y >> kFixedPointBits;
        const uint32_t* row = source.Row(y) + (at.x >> kFixedPointBits);
        const uint32_t* nextRow = source.Row(y + 1) + (at.x >> kFixedPointBits);
        out[i] = Blend(row[0], row[1], nextRow[0], nextRow[1], at.x & kFractionMask, at.y & kFractionMask);
        at.x += step.x;
        at.y += step.y;
    }
}

InteriorSpan ChosenBilinearInteriorSpan()
{
    static const InteriorSpan interior = CpuHasAvx2()   ? &BilinearInteriorSpanAvx2
                                         : CpuHasSse2() ? &BilinearInteriorSpanSse2
                                                        : &BilinearInteriorSpan;
    return interior;
}

bool RotateBilinear(const PixelRows& source, const PixelRows& target, const RotationLayout& layout,
                    uint32_t backgroundPixel, InteriorSpan interior, const UnitReport& report)
{
    const BackgroundPlane outside(backgroundPixel, layout.step);
    return ForEachRow(target, layout, report, [&](FixedPoint start, uint32_t* out) {
        BilinearRow(source, start, layout.step, backgroundPixel, outside, interior, out, layout.width);
    });
}

bool RotatePixels(const PixelRows& source, const PixelRows& target, const RotationLayout& layout,
                  uint32_t backgroundPixel, RotationSampling sampling, const UnitReport& report)
{
    if (sampling == RotationSampling::Nearest) {
        return ForEachRow(target, layout, report, [&](FixedPoint start, uint32_t* out) {
            NearestRow(source, start, layout.step, backgroundPixel, out, layout.width);
        });
    }
    return RotateBilinear(source, target, layout, backgroundPixel, ChosenBilinearInteriorSpan(), report);
}
