#include "filters/shared/noise/NoiseReduction.h"

#include "filters/shared/noise/WorkingChannels.h"
#include "filters/shared/parallel/RowBands.h"
#include "platform/CpuFeatures.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <vector>

namespace {

// Far outside every channel's range, yet small enough that the inverse transform's
// products stay exact; only a negative level pushes a value this far.
constexpr double kSaturation = 1073741824.0;

// trunc(value + 0.5), saturated so that a runaway value cannot overflow the cast.
int RoundedChannel(double value)
{
    const double rounded = value + 0.5;
    if (std::isnan(rounded)) return 0;
    return static_cast<int>(std::clamp(rounded, -kSaturation, kSaturation));
}

// The channel with the largest window mean: the first wins every tie, the third a tie
// with the second. All three means share one count, so their sums order them alike.
int DecidingChannel(const int32_t sums[3])
{
    if (sums[0] >= sums[1] && sums[0] >= sums[2]) return 0;
    return sums[2] >= sums[1] ? 2 : 1;
}

double MeanOf(int32_t sum, const WindowShape& shape)
{
    return static_cast<double>(sum) / shape.count;
}

double VarianceOf(int32_t sum, int32_t squares, const WindowShape& shape)
{
    const double count = shape.count;
    const double mean = MeanOf(sum, shape);
    return (static_cast<double>(squares) - (count * mean) * mean) / shape.divisor;
}

// Whether level >= VarianceOf(...), as the double arithmetic decides it, mostly without
// its two divisions. The exact variance differs from the double one by less than 1e-10
// (no channel value squares to 2^16 or more), well inside kUncertainVariance.
// n Q and S^2 stay below 2^53, so D is exact in double as in integers. NaN and
// infinite levels fall through to the double arithmetic.
bool LevelCovers(double level, int32_t sum, int32_t squares, const WindowShape& shape)
{
    const int64_t spread = int64_t{shape.count} * squares - int64_t{sum} * sum;
    const double scaled = level * shape.countTimesDivisor;
    const double margin = kUncertainVariance * shape.countTimesDivisor + std::abs(scaled) * kLevelProductError;
    const double difference = scaled - static_cast<double>(spread);
    if (difference > margin) return true;
    if (difference < -margin) return false;
    return level >= VarianceOf(sum, squares, shape);
}

// trunc(S / n + 0.5) in integers: the double quotient lies within 2^-44 of S / n,
// while S / n + 0.5 = (2S + n) / 2n is either whole (and then exact in double) or at
// least 1 / 2n from the next whole number, so both truncate alike. The reciprocal
// divides every |2S + n| below 2^18 exactly.
int RoundedMean(int32_t sum, const WindowShape& shape)
{
    const int64_t twice = 2 * int64_t{sum} + shape.count;
    const uint64_t magnitude = static_cast<uint64_t>(twice < 0 ? -twice : twice);
    const int quotient = static_cast<int>((magnitude * shape.halfCountReciprocal) >> kReciprocalBits);
    return twice < 0 ? -quotient : quotient;
}

int ReducedChannel(const ReductionRow& row, int x, int channel, double level, const WindowShape& shape)
{
    const int32_t sum = row.sums[channel][x];
    const int32_t squares = row.squares[channel][x];
    if (LevelCovers(level, sum, squares, shape)) return RoundedMean(sum, shape);
    const double mean = MeanOf(sum, shape);
    const double variance = VarianceOf(sum, squares, shape);
    return RoundedChannel(mean + (variance - level) / variance * (row.own[channel][x] - mean));
}

uint32_t PixelOfChannels(const int (&channels)[3], bool luma)
{
    if (luma) return PixelOfLumaAndDifferences(channels[0], channels[1], channels[2]);
    return PixelOfColours(channels[0], channels[1], channels[2]);
}

uint32_t ReducedPixel(const ReductionRow& row, int x, const ReductionInputs& inputs)
{
    const WindowShape& shape = row.shapes[row.spans[x]];
    int channels[3];
    if (shape.divisor == 0) {
        for (int channel = 0; channel < 3; ++channel) channels[channel] = row.own[channel][x];
        return PixelOfChannels(channels, inputs.lumaChannels);
    }
    const int32_t sums[3] = {row.sums[0][x], row.sums[1][x], row.sums[2][x]};
    const int deciding = DecidingChannel(sums);
    const double decidingLevel = LevelOf(inputs.deciding, deciding);
    if (LevelCovers(decidingLevel, sums[deciding], row.squares[deciding][x], shape)) {
        for (int channel = 0; channel < 3; ++channel) channels[channel] = RoundedMean(sums[channel], shape);
        return PixelOfChannels(channels, inputs.lumaChannels);
    }
    for (int channel = 0; channel < 3; ++channel) {
        const double level = channel == deciding ? decidingLevel : LevelOf(inputs.others, channel);
        channels[channel] = ReducedChannel(row, x, channel, level, shape);
    }
    return PixelOfChannels(channels, inputs.lumaChannels);
}

// Working rows the window reads: its 2r + 1 rows and the row that has just left it,
// each converted once from the original pixels before the row is overwritten.
class WindowRows {
public:
    WindowRows(int width, int radius, bool luma)
        : m_width(width), m_slots(2 * radius + 2), m_luma(luma),
          m_values(static_cast<size_t>(m_slots) * 3 * static_cast<size_t>(width))
    {
    }

    // Row y of the picture, from pixels: the picture's own row or a copy of it.
    void Convert(const uint32_t* pixels, int y) { ConvertToWorkingRow(pixels, m_width, m_luma, Row(y)); }

    WorkingRow Row(int y)
    {
        int16_t* slot = m_values.data() + static_cast<size_t>(y % m_slots) * 3 * static_cast<size_t>(m_width);
        return {{slot, slot + m_width, slot + 2 * static_cast<size_t>(m_width)}};
    }

private:
    int m_width;
    int m_slots;
    bool m_luma;
    std::vector<int16_t> m_values;
};

// Per channel, the sums and square sums of the window's rows in every column. The
// columns carry radius + 1 zero columns on both sides, so sliding the window along a
// row needs no edge tests. Sums stay within 32 bits: at most 441 values of 255^2.
class ColumnSums {
public:
    ColumnSums(int width, int radius)
        : m_width(width), m_radius(radius), m_padded(width + 2 * (radius + 1)),
          m_values(static_cast<size_t>(6) * static_cast<size_t>(m_padded))
    {
    }

    // Takes the entering row in and the leaving one out, in one pass; near the
    // picture's top and bottom one of them is missing.
    void Move(const WorkingRow* entering, const WorkingRow* leaving)
    {
        for (int channel = 0; channel < 3; ++channel) {
            const int16_t* in = entering != nullptr ? entering->channel[channel] : nullptr;
            const int16_t* out = leaving != nullptr ? leaving->channel[channel] : nullptr;
            if (in != nullptr && out != nullptr) {
                Update<true, true>(Sums(channel), Squares(channel), in, out);
            } else if (in != nullptr) {
                Update<true, false>(Sums(channel), Squares(channel), in, out);
            } else if (out != nullptr) {
                Update<false, true>(Sums(channel), Squares(channel), in, out);
            }
        }
    }

    // Plane 2c holds channel c's sums, plane 2c + 1 its square sums.
    const int32_t* Plane(int plane) { return m_values.data() + Offset(plane); }

private:
    template <bool kIn, bool kOut>
    void Update(int32_t* sums, int32_t* squares, const int16_t* in, const int16_t* out) const
    {
        for (int x = 0; x < m_width; ++x) {
            const int32_t entering = kIn ? in[x] : 0;
            const int32_t leaving = kOut ? out[x] : 0;
            sums[x] += entering - leaving;
            squares[x] += entering * entering - leaving * leaving;
        }
    }

    // The first picture column of a channel's plane.
    int32_t* Sums(int channel) { return m_values.data() + Offset(2 * channel); }
    int32_t* Squares(int channel) { return m_values.data() + Offset(2 * channel + 1); }
    size_t Offset(int plane) const
    {
        return static_cast<size_t>(plane) * static_cast<size_t>(m_padded) + static_cast<size_t>(m_radius + 1);
    }

    int m_width;
    int m_radius;
    int m_padded;
    std::vector<int32_t> m_values;
};

// The window sums of one row, and the window shapes, which depend on the column only
// through the number of columns the window spans there.
class RowWindows {
public:
    RowWindows(int width, int radius, bool divideByCount)
        : m_width(width), m_radius(radius), m_divideByCount(divideByCount),
          m_values(static_cast<size_t>(6) * static_cast<size_t>(width)), m_spans(static_cast<size_t>(width)),
          m_shapes(static_cast<size_t>(2 * radius + 2))
    {
        for (int x = 0; x < width; ++x) {
            m_spans[static_cast<size_t>(x)] =
                static_cast<uint8_t>(std::min(width - 1, x + radius) - std::max(0, x - radius) + 1);
        }
    }

    ReductionRow Fill(ColumnSums& columns, const WorkingRow& own, int rowsInWindow, SlideWindowVariant slide)
    {
        ReductionRow row{};
        for (int plane = 0; plane < 6; ++plane) slide(columns.Plane(plane), m_width, m_radius, Plane(plane));
        for (int channel = 0; channel < 3; ++channel) {
            row.sums[channel] = Plane(2 * channel);
            row.squares[channel] = Plane(2 * channel + 1);
            row.own[channel] = own.channel[channel];
        }
        for (int span = 1; span <= 2 * m_radius + 1; ++span) {
            m_shapes[static_cast<size_t>(span)] = WindowShapeOf(rowsInWindow * span, m_divideByCount);
        }
        row.spans = m_spans.data();
        row.shapes = m_shapes.data();
        row.widestSpan = 2 * m_radius + 1;
        row.width = m_width;
        return row;
    }

private:
    int32_t* Plane(int plane) { return m_values.data() + static_cast<size_t>(plane) * static_cast<size_t>(m_width); }

    int m_width;
    int m_radius;
    bool m_divideByCount;
    std::vector<int32_t> m_values;
    std::vector<uint8_t> m_spans;
    std::vector<WindowShape> m_shapes;
};

// Rows first .. last - 1 of the picture. The windows reach radius rows beyond them;
// with outside, those rows come from copies taken before any band wrote its results
// (the rows above the band, then the rows below it).
struct ReductionBand {
    int first;
    int last;
    const class OutsideRows* outside;
};

// Copies of the picture's rows a band's windows read beyond the band.
class OutsideRows {
public:
    OutsideRows(const PixelRows& image, ReductionBand band, int radius)
        : m_width(static_cast<size_t>(image.width)),
          m_firstAbove(std::max(0, band.first - radius)),
          m_firstBelow(band.last),
          m_lastBelow(std::min(image.height, band.last + radius))
    {
        const int rows = band.first - m_firstAbove + m_lastBelow - m_firstBelow;
        m_pixels.resize(m_width * static_cast<size_t>(rows));
        uint32_t* at = m_pixels.data();
        for (int y = m_firstAbove; y < band.first; ++y, at += m_width) std::copy_n(image.Row(y), m_width, at);
        for (int y = m_firstBelow; y < m_lastBelow; ++y, at += m_width) std::copy_n(image.Row(y), m_width, at);
        m_rowsAbove = band.first - m_firstAbove;
    }

    const uint32_t* Row(int y) const
    {
        const int index = y < m_firstBelow ? y - m_firstAbove : m_rowsAbove + y - m_firstBelow;
        return m_pixels.data() + m_width * static_cast<size_t>(index);
    }

private:
    size_t m_width;
    int m_firstAbove;
    int m_firstBelow;
    int m_lastBelow;
    int m_rowsAbove = 0;
    std::vector<uint32_t> m_pixels;
};

// The window of row y holds rows y - r .. y + r: the band's first window is filled
// from the rows before it, then each row brings one row in and one out.
bool ReduceBand(const PixelRows& image, const ReductionInputs& inputs, const ReductionVariant& variant,
                ReductionBand band, const std::function<bool(int y)>& rowDone)
{
    const int radius = inputs.radius;
    WindowRows rows(image.width, radius, inputs.lumaChannels);
    ColumnSums columns(image.width, radius);
    RowWindows windows(image.width, radius, inputs.divideByCount);
    const auto bring = [&](int y) {
        const bool outside = band.outside != nullptr && (y < band.first || y >= band.last);
        rows.Convert(outside ? band.outside->Row(y) : image.Row(y), y);
        return rows.Row(y);
    };
    const int top = std::max(0, band.first - radius);
    for (int y = top; y < std::min(band.first + radius, image.height); ++y) {
        const WorkingRow entering = bring(y);
        columns.Move(&entering, nullptr);
    }
    for (int y = band.first; y < band.last; ++y) {
        const bool enters = y + radius < image.height;
        const bool leaves = y - radius - 1 >= top;
        const WorkingRow entering = enters ? bring(y + radius) : WorkingRow{};
        const WorkingRow leaving = leaves ? rows.Row(y - radius - 1) : WorkingRow{};
        columns.Move(enters ? &entering : nullptr, leaves ? &leaving : nullptr);
        const int rowsInWindow = std::min(image.height - 1, y + radius) - std::max(0, y - radius) + 1;
        variant.reduceRow(windows.Fill(columns, rows.Row(y), rowsInWindow, variant.slide), inputs, image.Row(y), 0);
        if (!rowDone(y)) return false;
    }
    return true;
}

// Bands of rows on several threads, each with the copies of the rows beside it taken
// first, from the picture as it came.
bool ReduceInBands(const PixelRows& image, const ReductionInputs& inputs, const ReductionVariant& variant,
                   int threads, const UnitReport& report)
{
    const int count = std::min(image.height, 2 * threads);
    std::vector<ReductionBand> bands;
    std::vector<OutsideRows> outside;
    outside.reserve(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
        const ReductionBand band{static_cast<int>(int64_t{image.height} * i / count),
                                 static_cast<int>(int64_t{image.height} * (i + 1) / count), nullptr};
        outside.emplace_back(image, band, inputs.radius);
        bands.push_back({band.first, band.last, &outside.back()});
    }
    return ForEachRowBand(
               count, report,
               [&](int first, int last) {
                   for (int i = first; i < last; ++i) {
                       ReduceBand(image, inputs, variant, bands[static_cast<size_t>(i)], [](int) { return true; });
                   }
               },
               threads) &&
           report(count, count);
}

} // namespace

WindowShape WindowShapeOf(int count, bool divideByCount)
{
    WindowShape shape;
    shape.count = count;
    shape.divisor = divideByCount ? count : count - 1;
    shape.countTimesDivisor = static_cast<double>(int64_t{count} * shape.divisor);
    const uint64_t twiceCount = 2 * static_cast<uint64_t>(count);
    shape.halfCountReciprocal = ((uint64_t{1} << kReciprocalBits) + twiceCount - 1) / twiceCount;
    shape.halfReciprocal = 1.0 / static_cast<double>(twiceCount);
    return shape;
}

void SlideWindowPortable(const int32_t* columns, int width, int radius, int32_t* sums)
{
    int32_t sum = 0;
    for (int x = -1 - radius; x < radius; ++x) sum += columns[x];
    for (int x = 0; x < width; ++x) {
        sum += columns[x + radius] - columns[x - radius - 1];
        sums[x] = sum;
    }
}

void ReduceRowPortable(const ReductionRow& row, const ReductionInputs& inputs, uint32_t* out, int first)
{
    for (int x = first; x < row.width; ++x) out[x] = ReducedPixel(row, x, inputs);
}

const ReductionVariant kPortableReduction{&SlideWindowPortable, &ReduceRowPortable};
const ReductionVariant kAvx2Reduction{&SlideWindowAvx2, &ReduceRowAvx2};

const ReductionVariant& ChosenReduction()
{
    static const ReductionVariant& chosen = CpuHasAvx2() ? kAvx2Reduction : kPortableReduction;
    return chosen;
}

bool ReduceNoiseOfRows(const PixelRows& image, const ReductionInputs& inputs, const UnitReport& report,
                       const ReductionVariant& variant, int threads)
{
    const int total = 2 * image.height;
    if (AllZero(inputs.deciding) && AllZero(inputs.others)) return !report || report(total, total);
    try {
        if (threads <= 1) {
            return ReduceBand(image, inputs, variant, {0, image.height, nullptr},
                              [&](int y) { return !report || report(2 * (y + 1), total); });
        }
        return ReduceInBands(image, inputs, variant, threads, [&](int done, int bands) {
            return !report || report(static_cast<int>(int64_t{total} * done / bands), total);
        });
    } catch (const std::bad_alloc&) {
        return false;
    }
}
