#include "filters/shared/noise/NoiseReduction.h"

#include "filters/shared/noise/WorkingChannels.h"

#include <algorithm>
#include <cmath>
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

struct PixelWindow {
    int32_t sums[3];
    int32_t squares[3];
    int own[3];
    int count;
    int divisor;
};

double VarianceOf(const PixelWindow& window, int channel, double mean)
{
    const double count = window.count;
    return (static_cast<double>(window.squares[channel]) - (count * mean) * mean) / window.divisor;
}

uint32_t PixelOfChannels(const int (&channels)[3], bool luma)
{
    if (luma) return PixelOfLumaAndDifferences(channels[0], channels[1], channels[2]);
    return PixelOfColours(channels[0], channels[1], channels[2]);
}

uint32_t ReducedPixel(const PixelWindow& window, const ReductionInputs& inputs)
{
    int channels[3];
    if (window.divisor == 0) {
        std::copy(window.own, window.own + 3, channels);
        return PixelOfChannels(channels, inputs.lumaChannels);
    }
    const int deciding = DecidingChannel(window.sums);
    const double decidingMean = static_cast<double>(window.sums[deciding]) / window.count;
    const double decidingVariance = VarianceOf(window, deciding, decidingMean);
    const bool flat = LevelOf(inputs.deciding, deciding) >= decidingVariance;
    for (int channel = 0; channel < 3; ++channel) {
        const double mean = static_cast<double>(window.sums[channel]) / window.count;
        if (flat) {
            channels[channel] = RoundedChannel(mean);
            continue;
        }
        const bool decides = channel == deciding;
        const double variance = decides ? decidingVariance : VarianceOf(window, channel, mean);
        const double level = decides ? LevelOf(inputs.deciding, channel) : LevelOf(inputs.others, channel);
        const double value =
            level >= variance ? mean : mean + (variance - level) / variance * (window.own[channel] - mean);
        channels[channel] = RoundedChannel(value);
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

    void Convert(const PixelRows& image, int y) { ConvertToWorkingRow(image.Row(y), m_width, m_luma, Row(y)); }

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

    void Add(const WorkingRow& row, int sign)
    {
        for (int channel = 0; channel < 3; ++channel) {
            int32_t* sums = Sums(channel);
            int32_t* squares = Squares(channel);
            const int16_t* values = row.channel[channel];
            for (int x = 0; x < m_width; ++x) {
                const int32_t value = values[x];
                sums[x] += sign * value;
                squares[x] += sign * value * value;
            }
        }
    }

    // Window sums of every pixel of the row: each step adds the column entering on
    // the right and drops the one leaving on the left.
    void Slide(int channel, int32_t* sums, int32_t* squares)
    {
        const int32_t* columnSums = Sums(channel);
        const int32_t* columnSquares = Squares(channel);
        int32_t sum = 0;
        int32_t square = 0;
        for (int x = -1 - m_radius; x < m_radius; ++x) {
            sum += columnSums[x];
            square += columnSquares[x];
        }
        for (int x = 0; x < m_width; ++x) {
            sum += columnSums[x + m_radius] - columnSums[x - m_radius - 1];
            square += columnSquares[x + m_radius] - columnSquares[x - m_radius - 1];
            sums[x] = sum;
            squares[x] = square;
        }
    }

private:
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

// The window sums of one row, with the pixel counts that depend on the column only.
class RowWindows {
public:
    RowWindows(int width, int radius)
        : m_width(width), m_radius(radius), m_values(static_cast<size_t>(7) * static_cast<size_t>(width))
    {
    }

    ReductionRow Fill(ColumnSums& columns, const WorkingRow& own, int rowsInWindow)
    {
        ReductionRow row{};
        for (int channel = 0; channel < 3; ++channel) {
            columns.Slide(channel, Plane(2 * channel), Plane(2 * channel + 1));
            row.sums[channel] = Plane(2 * channel);
            row.squares[channel] = Plane(2 * channel + 1);
            row.own[channel] = own.channel[channel];
        }
        int32_t* counts = Plane(6);
        for (int x = 0; x < m_width; ++x) {
            counts[x] = rowsInWindow * (std::min(m_width - 1, x + m_radius) - std::max(0, x - m_radius) + 1);
        }
        row.counts = counts;
        row.width = m_width;
        return row;
    }

private:
    int32_t* Plane(int plane) { return m_values.data() + static_cast<size_t>(plane) * static_cast<size_t>(m_width); }

    int m_width;
    int m_radius;
    std::vector<int32_t> m_values;
};

} // namespace

void ReduceRowPortable(const ReductionRow& row, const ReductionInputs& inputs, uint32_t* out)
{
    PixelWindow window{};
    for (int x = 0; x < row.width; ++x) {
        for (int channel = 0; channel < 3; ++channel) {
            window.sums[channel] = row.sums[channel][x];
            window.squares[channel] = row.squares[channel][x];
            window.own[channel] = row.own[channel][x];
        }
        window.count = row.counts[x];
        window.divisor = inputs.divideByCount ? window.count : window.count - 1;
        out[x] = ReducedPixel(window, inputs);
    }
}

bool ReduceNoiseOfRows(const PixelRows& image, const ReductionInputs& inputs, const UnitReport& report)
{
    const int total = 2 * image.height;
    if (AllZero(inputs.deciding) && AllZero(inputs.others)) return !report || report(total, total);
    const int radius = inputs.radius;
    WindowRows rows(image.width, radius, inputs.lumaChannels);
    ColumnSums columns(image.width, radius);
    RowWindows windows(image.width, radius);
    for (int y = 0; y < std::min(radius, image.height); ++y) {
        rows.Convert(image, y);
        columns.Add(rows.Row(y), 1);
    }
    for (int y = 0; y < image.height; ++y) {
        if (y + radius < image.height) {
            rows.Convert(image, y + radius);
            columns.Add(rows.Row(y + radius), 1);
        }
        if (y - radius - 1 >= 0) columns.Add(rows.Row(y - radius - 1), -1);
        const int rowsInWindow = std::min(image.height - 1, y + radius) - std::max(0, y - radius) + 1;
        ReduceRowPortable(windows.Fill(columns, rows.Row(y), rowsInWindow), inputs, image.Row(y));
        if (report && !report(2 * (y + 1), total)) return false;
    }
    return true;
}
