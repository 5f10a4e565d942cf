#include "filters/shared/gaussian/SeparablePasses.h"

#include "filters/shared/gaussian/GaussianKernel.h"
#include "platform/CpuFeatures.h"

#include <algorithm>
#include <new>
#include <numeric>
#include <vector>

namespace {

int CentreOf(std::span<const int32_t> kernel)
{
    return static_cast<int>(kernel.size()) / 2;
}

// The taps [first, last) of a window centred at position whose samples lie inside
// 0..extent-1.
struct TapRange {
    int first;
    int last;
};

TapRange TapsInside(int position, int extent, std::span<const int32_t> kernel)
{
    const int centre = CentreOf(kernel);
    return {std::max(0, centre - position), std::min(static_cast<int>(kernel.size()), extent - position + centre)};
}

int32_t WeightOf(std::span<const int32_t> kernel, TapRange taps)
{
    return std::accumulate(kernel.begin() + taps.first, kernel.begin() + taps.last, int32_t{0});
}

// Counts units and tells report; the horizontal pass has more units (columns) than
// rows to report them after, or fewer, so it hands in whole batches.
class UnitCounter {
public:
    UnitCounter(const UnitReport& report, int total) : m_report(report), m_total(total) {}

    bool AdvanceTo(int done)
    {
        if (!m_report) return true;
        while (m_done < done) {
            if (!m_report(++m_done, m_total)) return false;
        }
        return true;
    }

private:
    const UnitReport& m_report;
    int m_total;
    int m_done = 0;
};

// What the horizontal pass needs per row, allocated once: a copy of the row (with
// room for the repeated edge pixels) and the tap pointers into it.
struct RowWork {
    std::vector<uint32_t> buffer;
    std::vector<const uint8_t*> sources;
    FixedPointRow weightedRow;
};

bool ColumnsFixedPoint(const PixelRows& from, const PixelRows& to, std::span<const int32_t> kernel,
                       UnitCounter& units)
{
    std::vector<const uint8_t*> sources(kernel.size());
    const int centre = CentreOf(kernel);
    const FixedPointRow weightedRow = ChosenFixedPointRow();
    for (int y = 0; y < from.height; ++y) {
        for (size_t i = 0; i < kernel.size(); ++i) {
            sources[i] = from.Bytes(std::clamp(y - centre + static_cast<int>(i), 0, from.height - 1));
        }
        weightedRow(sources.data(), kernel.data(), static_cast<int>(kernel.size()), to.Bytes(y), to.width);
        if (!units.AdvanceTo(y + 1)) return false;
    }
    return true;
}

bool ColumnsPortable(const PixelRows& from, const PixelRows& to, std::span<const int32_t> kernel, UnitCounter& units)
{
    std::vector<const uint8_t*> sources(kernel.size());
    const int centre = CentreOf(kernel);
    for (int y = 0; y < from.height; ++y) {
        const TapRange taps = TapsInside(y, from.height, kernel);
        for (int i = taps.first; i < taps.last; ++i) sources[static_cast<size_t>(i)] = from.Bytes(y - centre + i);
        WeightedRowPortable(sources.data() + taps.first, kernel.data() + taps.first, taps.last - taps.first,
                            WeightOf(kernel, taps), to.Bytes(y), to.width);
        if (!units.AdvanceTo(y + 1)) return false;
    }
    return true;
}

// The row with its edge pixels repeated centre times on either side, so that every
// output pixel, near the edges too, takes the vector loop.
void PadRow(const uint32_t* row, int width, int centre, uint32_t* padded)
{
    std::fill_n(padded, centre, row[0]);
    std::copy_n(row, width, padded + centre);
    std::fill_n(padded + centre + width, centre, row[width - 1]);
}

void RowFixedPoint(const uint32_t* row, int width, std::span<const int32_t> kernel, RowWork& work, uint8_t* out)
{
    PadRow(row, width, CentreOf(kernel), work.buffer.data());
    for (size_t i = 0; i < kernel.size(); ++i) work.sources[i] = reinterpret_cast<const uint8_t*>(&work.buffer[i]);
    work.weightedRow(work.sources.data(), kernel.data(), static_cast<int>(kernel.size()), out, width);
}

// Interior pixels share one divisor, 8192; each of the few edge pixels has its own.
void RowPortable(const uint32_t* row, int width, std::span<const int32_t> kernel, RowWork& work, uint8_t* out)
{
    const int centre = CentreOf(kernel);
    std::copy_n(row, width, work.buffer.data());
    const auto* copy = reinterpret_cast<const uint8_t*>(work.buffer.data());
    for (int x = 0; x < width;) {
        const TapRange taps = TapsInside(x, width, kernel);
        const bool interior = taps.first == 0 && taps.last == static_cast<int>(kernel.size());
        // The interior pixels run as one stretch: all of them use every tap.
        const int run = interior ? width - centre - x : 1;
        for (int i = taps.first; i < taps.last; ++i) work.sources[static_cast<size_t>(i)] = copy + 4 * (x - centre + i);
        WeightedRowPortable(work.sources.data() + taps.first, kernel.data() + taps.first, taps.last - taps.first,
                            WeightOf(kernel, taps), out + 4 * x, run);
        x += run;
    }
}

} // namespace

BlurPath ChosenBlurPath()
{
    static const BlurPath path = CpuHasSse2() ? BlurPath::FixedPoint : BlurPath::Portable;
    return path;
}

FixedPointRow ChosenFixedPointRow()
{
    static const FixedPointRow row = CpuHasAvx2()   ? &WeightedRowFixedPointAvx2
                                     : CpuHasSse2() ? &WeightedRowFixedPointSse2
                                                    : &WeightedRowFixedPointScalar;
    return row;
}

// Sums are non-negative with weights of 0..8192; the clamp still names the
// saturation the vector packs apply.
void WeightedRowFixedPointScalar(const uint8_t* const* sources, const int32_t* weights, int taps, uint8_t* out,
                                 int width)
{
    for (int x = 0; x < width; ++x) {
        const ptrdiff_t offset = ptrdiff_t{4} * x;
        for (int channel = 0; channel < 3; ++channel) {
            int32_t sum = 0;
            for (int i = 0; i < taps; ++i) sum += weights[i] * sources[i][offset + channel];
            out[offset + channel] = static_cast<uint8_t>(std::clamp(sum >> kKernelShift, 0, 255));
        }
        out[offset + 3] = 0;
    }
}

void WeightedRowPortable(const uint8_t* const* sources, const int32_t* weights, int taps, int32_t divisor,
                         uint8_t* out, int width)
{
    for (int x = 0; x < width; ++x) {
        const ptrdiff_t offset = ptrdiff_t{4} * x;
        for (int channel = 0; channel < 3; ++channel) {
            int32_t sum = 0;
            for (int i = 0; i < taps; ++i) sum += weights[i] * sources[i][offset + channel];
            out[offset + channel] = static_cast<uint8_t>(std::clamp(sum / divisor, 0, 255));
        }
        out[offset + 3] = 0;
    }
}

bool ConvolveColumns(const PixelRows& from, const PixelRows& to, std::span<const int32_t> kernel, BlurPath path,
                     const UnitReport& report)
{
    UnitCounter units(report, from.height);
    try {
        return path == BlurPath::FixedPoint ? ColumnsFixedPoint(from, to, kernel, units)
                                            : ColumnsPortable(from, to, kernel, units);
    } catch (const std::bad_alloc&) {
        return false;
    }
}

bool ConvolveRows(const PixelRows& from, const PixelRows& to, std::span<const int32_t> kernel, BlurPath path,
                  const UnitReport& report)
{
    UnitCounter units(report, from.width);
    try {
        RowWork work{std::vector<uint32_t>(static_cast<size_t>(from.width) + kernel.size()),
                     std::vector<const uint8_t*>(kernel.size()), ChosenFixedPointRow()};
        for (int y = 0; y < from.height; ++y) {
            if (path == BlurPath::FixedPoint) RowFixedPoint(from.Row(y), from.width, kernel, work, to.Bytes(y));
            else RowPortable(from.Row(y), from.width, kernel, work, to.Bytes(y));
            const auto columnsDue = static_cast<int>(int64_t{from.width} * (y + 1) / from.height);
            if (!units.AdvanceTo(columnsDue)) return false;
        }
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}
