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

// A band's rows: the vertical sums of one row with room for the repeated edge
// pixels either side, the tap pointers, and the blurred row a merge reads.
class BandRows {
public:
    BandRows(int width, std::span<const int32_t> kernel, bool merging)
        : m_kernel(kernel),
          m_centre(CentreOf(kernel)),
          m_width(width),
          m_columnSums(static_cast<size_t>(width) + 2 * static_cast<size_t>(m_centre)),
          m_blurred(merging ? static_cast<size_t>(width) : 0),
          m_sources(kernel.size()),
          m_weightedRow(ChosenFixedPointRow())
    {
    }

    // Blurs row y of from into out (width pixels).
    void Blur(const PixelRows& from, int y, BlurPath path, uint8_t* out)
    {
        if (path == BlurPath::FixedPoint) {
            ColumnsFixedPoint(from, y);
            RowFixedPoint(out);
        } else {
            ColumnsPortable(from, y);
            RowPortable(out);
        }
    }

    // The row a merge reads the blur from.
    uint8_t* BlurredRow() { return reinterpret_cast<uint8_t*>(m_blurred.data()); }

private:
    uint8_t* SumsAt(int x) { return reinterpret_cast<uint8_t*>(m_columnSums.data() + m_centre + x); }
    int Taps() const { return static_cast<int>(m_kernel.size()); }

    void ColumnsFixedPoint(const PixelRows& from, int y)
    {
        for (int i = 0; i < Taps(); ++i) {
            m_sources[static_cast<size_t>(i)] = from.Bytes(std::clamp(y - m_centre + i, 0, from.height - 1));
        }
        m_weightedRow(m_sources.data(), m_kernel.data(), Taps(), SumsAt(0), m_width);
    }

    void ColumnsPortable(const PixelRows& from, int y)
    {
        const TapRange taps = TapsInside(y, from.height, m_kernel);
        for (int i = taps.first; i < taps.last; ++i) m_sources[static_cast<size_t>(i)] = from.Bytes(y - m_centre + i);
        WeightedRowPortable(m_sources.data() + taps.first, m_kernel.data() + taps.first, taps.last - taps.first,
                            WeightOf(m_kernel, taps), SumsAt(0), m_width);
    }

    // The edge pixels repeated centre times on either side, so that every output
    // pixel, near the edges too, takes the vector loop.
    void RowFixedPoint(uint8_t* out)
    {
        uint32_t* sums = m_columnSums.data();
        std::fill_n(sums, m_centre, sums[m_centre]);
        std::fill_n(sums + m_centre + m_width, m_centre, sums[m_centre + m_width - 1]);
        for (int i = 0; i < Taps(); ++i) m_sources[static_cast<size_t>(i)] = SumsAt(i - m_centre);
        m_weightedRow(m_sources.data(), m_kernel.data(), Taps(), out, m_width);
    }

    // Interior pixels share one divisor, 8192; each of the few edge pixels has its own.
    void RowPortable(uint8_t* out)
    {
        for (int x = 0; x < m_width;) {
            const TapRange taps = TapsInside(x, m_width, m_kernel);
            const bool interior = taps.first == 0 && taps.last == Taps();
            // The interior pixels run as one stretch: all of them use every tap.
            const int run = interior ? m_width - m_centre - x : 1;
            for (int i = taps.first; i < taps.last; ++i) m_sources[static_cast<size_t>(i)] = SumsAt(x - m_centre + i);
            WeightedRowPortable(m_sources.data() + taps.first, m_kernel.data() + taps.first, taps.last - taps.first,
                                WeightOf(m_kernel, taps), out + ptrdiff_t{4} * x, run);
            x += run;
        }
    }

    std::span<const int32_t> m_kernel;
    int m_centre;
    int m_width;
    std::vector<uint32_t> m_columnSums;
    std::vector<uint32_t> m_blurred;
    std::vector<const uint8_t*> m_sources;
    FixedPointRow m_weightedRow;
};

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

bool BlurPicture(const PixelRows& from, const PixelRows& to, std::span<const int32_t> kernel, BlurPath path,
                 const UnitReport& report, const BlurredRowMerge& merge, int threads)
{
    const auto band = [&](int first, int last) {
        BandRows rows(from.width, kernel, static_cast<bool>(merge));
        for (int y = first; y < last; ++y) {
            if (!merge) {
                rows.Blur(from, y, path, to.Bytes(y));
                continue;
            }
            rows.Blur(from, y, path, rows.BlurredRow());
            merge(from.Bytes(y), rows.BlurredRow(), to.Bytes(y), from.width);
        }
    };
    try {
        if (!ForEachRowBand(from.height, report, band, threads)) return false;
    } catch (const std::bad_alloc&) {
        return false;
    }
    return !report || report(from.height, from.height);
}
