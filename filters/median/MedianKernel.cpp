#include "filters/median/MedianKernel.h"

#include "filters/median/MedianInterior.h"
#include "filters/shared/parallel/RowBands.h"
#include "platform/CpuFeatures.h"

#include <algorithm>
#include <array>
#include <functional>
#include <new>
#include <vector>

namespace {

struct ScalarLanes {
    using Vector = uint32_t;
    static constexpr int kLanes = 1;
    static Vector Load(const uint32_t* at) { return *at; }
    static void Store(uint32_t* at, Vector keys) { *at = keys; }
    static void LoadEvenOdd(const uint32_t* at, Vector& even, Vector& odd)
    {
        even = at[0];
        odd = at[1];
    }
    static void StoreInterleaved(uint32_t* at, Vector even, Vector odd)
    {
        at[0] = even;
        at[1] = odd;
    }
    static Vector Keyed(Vector pixel) { return (pixel & 0x00FFFFFFu) | LumaOf(pixel) << 24; }
    static Vector Min(Vector a, Vector b) { return std::min(a, b); }
    static Vector Max(Vector a, Vector b) { return std::max(a, b); }
};

// The rows of the windows around one picture row, clipped at the top and bottom.
struct WindowRows {
    std::array<const uint32_t*, 2 * kMaximumMedianRadius + 1> rows{};
    int count = 0;
    bool clipped = false;  // fewer rows than the window's side
};

// The rank rule on the window clipped at the edges, for the few pixels near them.
uint32_t SelectClipped(const WindowRows& window, int width, int x, int radius)
{
    std::array<uint32_t, kLargestMedianWindow> keys{};
    const int first = std::max(0, x - radius);
    const int end = std::min(width, x + radius + 1);
    auto filled = keys.begin();
    for (int i = 0; i < window.count; ++i) {
        const uint32_t* row = window.rows[static_cast<size_t>(i)];
        filled = std::copy(row + first, row + end, filled);
    }
    const auto middle = keys.begin() + (filled - keys.begin()) / 2;
    std::nth_element(keys.begin(), middle, filled);
    return *middle;
}

// Radius 1 treats its corners apart: the smaller of the two rows' larger keys.
uint32_t CornerKey(const uint32_t* own, const uint32_t* adjacent, int x, int neighbour)
{
    return std::min(std::max(own[x], own[neighbour]), std::max(adjacent[x], adjacent[neighbour]));
}

// The ring of keyed rows and the tile scratch: all the filter holds beyond the picture.
class KeyedRing {
public:
    bool Allocate(int width, int radius)
    {
        m_side = 2 * radius + 1;
        m_stride = static_cast<size_t>(width) + kMedianRowSlack;
        try {
            m_keys.assign(m_stride * static_cast<size_t>(m_side), 0);
            m_scratch.assign(MedianScratchKeys(), 0);
        } catch (const std::bad_alloc&) {
            return false;
        }
        return true;
    }
    uint32_t* Row(int y) { return m_keys.data() + static_cast<size_t>(y % m_side) * m_stride; }
    uint32_t* Scratch() { return m_scratch.data(); }

private:
    int m_side = 0;
    size_t m_stride = 0;
    std::vector<uint32_t> m_keys;
    std::vector<uint32_t> m_scratch;
};

// One row of results at a time, from the ring into the picture: the networks for the
// columns whose windows reach 2r+1 columns, the rank rule for the few at the left and
// right edges, the corner rule for radius 1.
class MedianPass {
public:
    MedianPass(const PixelRows& image, int radius, KeyedRing& ring)
        : m_image(image), m_radius(radius), m_ring(ring), m_interior(ChosenMedianVariants().interiorRow)
    {
    }

    void SelectRow(int y)
    {
        const WindowRows window = RowsAround(y);
        uint32_t* out = m_image.Row(y);
        m_interior(window.rows.data(), window.count, m_image.width, m_radius, out, m_ring.Scratch());
        SelectClippedRange(window, 0, m_radius, out);
        SelectClippedRange(window, m_image.width - m_radius, m_image.width, out);
        if (m_radius == 1 && window.clipped) SelectCorners(y, out);
    }

private:
    WindowRows RowsAround(int y)
    {
        WindowRows window;
        for (int row = std::max(0, y - m_radius); row <= std::min(m_image.height - 1, y + m_radius); ++row) {
            window.rows[static_cast<size_t>(window.count++)] = m_ring.Row(row);
        }
        window.clipped = window.count < 2 * m_radius + 1;
        return window;
    }

    void SelectClippedRange(const WindowRows& window, int first, int end, uint32_t* out) const
    {
        for (int x = first; x < end; ++x) out[x] = SelectClipped(window, m_image.width, x, m_radius);
    }

    void SelectCorners(int y, uint32_t* out)
    {
        const uint32_t* own = m_ring.Row(y);
        const uint32_t* adjacent = m_ring.Row(y == 0 ? 1 : y - 1);
        const int last = m_image.width - 1;
        out[0] = CornerKey(own, adjacent, 0, 1);
        out[last] = CornerKey(own, adjacent, last, last - 1);
    }

    PixelRows m_image;
    int m_radius;
    KeyedRing& m_ring;
    MedianInteriorRow m_interior;
};

// Rows first .. last - 1 of the picture, filtered in place. Their windows reach r
// rows beyond them; rows of other bands come keyed from outside (the r above, then
// the r below), since the bands that own them may have written their results already.
struct RowBand {
    int first;
    int last;
};

// keyedAbove holds the keys of the rows above the band, from the picture's top or the
// r-th row above; keyedBelow those of the r rows below it.
bool MedianOfRows(const PixelRows& image, int radius, RowBand band, const uint32_t* keyedAbove,
                  const uint32_t* keyedBelow, const std::function<bool()>& advance)
{
    KeyedRing ring;
    if (!ring.Allocate(image.width, radius)) throw std::bad_alloc();
    const KeyRow keyRow = ChosenMedianVariants().keyRow;
    const size_t rowKeys = static_cast<size_t>(image.width);
    const int above = band.first - std::max(0, band.first - radius);
    for (int i = 0; i < above; ++i) {
        std::copy_n(keyedAbove + static_cast<size_t>(i) * rowKeys, rowKeys, ring.Row(band.first - above + i));
    }
    MedianPass pass(image, radius, ring);
    int keyed = band.first;
    for (int y = band.first; y < band.last; ++y) {
        for (; keyed <= std::min(image.height - 1, y + radius); ++keyed) {
            if (keyed < band.last) {
                const uint32_t* next = keyed + 1 < band.last ? image.Row(keyed + 1) : nullptr;
                keyRow(image.Row(keyed), image.width, ring.Row(keyed), next);
            } else {
                const auto below = static_cast<size_t>(keyed - band.last);
                std::copy_n(keyedBelow + below * rowKeys, rowKeys, ring.Row(keyed));
            }
            if (!advance()) return false;
        }
        pass.SelectRow(y);
        const bool interior = y >= radius && y < image.height - radius;
        if (interior && !advance()) return false;
    }
    return true;
}

// Bands of rows on several threads. Each band's outside rows are keyed first, from
// the picture as it came, before any band writes a result. As many bands as other
// kernels get: with 4 a thread, a spell in which this shared machine slowed one
// processor left the other idle at the end (two threads over one, radius 3, three
// rounds of seven pairs each: 2.05 to 2.22 with 4 bands a thread, 2.36 to 2.52 with
// 16). Each band keys 2r rows twice and holds their keys until it is done, so on
// many cores the bands stay few enough that those rows are at most an eighth of the
// picture's, as long as that still leaves a band for every thread.
bool MedianOfBands(const PixelRows& image, int radius, int threads, const UnitReport& report)
{
    const int bands = std::min({image.height, kRowBandsPerThread * threads,
                                std::max(threads, image.height / (16 * radius))});
    const auto bandOf = [&](int i) {
        return RowBand{static_cast<int>(int64_t{image.height} * i / bands),
                       static_cast<int>(int64_t{image.height} * (i + 1) / bands)};
    };
    const size_t rowKeys = static_cast<size_t>(image.width);
    const size_t outsideKeys = 2 * static_cast<size_t>(radius) * rowKeys;
    std::vector<uint32_t> outside(outsideKeys * static_cast<size_t>(bands), 0);
    const auto eachBand = [&](const UnitReport& reportBands, const std::function<void(int band)>& work) {
        return ForEachRowBand(
            bands, reportBands,
            [&](int firstBand, int lastBand) {
                for (int i = firstBand; i < lastBand; ++i) work(i);
            },
            threads);
    };
    const KeyRow keyRow = ChosenMedianVariants().keyRow;
    eachBand({}, [&](int i) {
        const RowBand band = bandOf(i);
        uint32_t* keys = outside.data() + outsideKeys * static_cast<size_t>(i);
        for (int k = 0; k < radius; ++k) {
            const int aboveRow = band.first - radius + k;
            const int belowRow = band.last + k;
            if (aboveRow >= 0) {
                keyRow(image.Row(aboveRow), image.width, keys + static_cast<size_t>(k) * rowKeys, nullptr);
            }
            if (belowRow < image.height) {
                keyRow(image.Row(belowRow), image.width, keys + static_cast<size_t>(radius + k) * rowKeys, nullptr);
            }
        }
    });
    return eachBand(report, [&](int i) {
        const RowBand band = bandOf(i);
        const uint32_t* keys = outside.data() + outsideKeys * static_cast<size_t>(i);
        // Near the top fewer rows lie above; theirs are the last of the r.
        const auto missingAbove = static_cast<size_t>(std::max(0, radius - band.first));
        MedianOfRows(image, radius, band, keys + missingAbove * rowKeys, keys + static_cast<size_t>(radius) * rowKeys,
                     [] { return true; });
    }) && report(bands, bands);
}

} // namespace

uint32_t LumaOf(uint32_t pixel)
{
    const uint32_t red = (pixel >> 16) & 0xFF;
    const uint32_t green = (pixel >> 8) & 0xFF;
    const uint32_t blue = pixel & 0xFF;
    return (red * 0x4C8000u + green * 0x964000u + blue * 0x1D4000u) >> 24;
}

void KeyRowByLuma(const uint32_t* row, int width, uint32_t* keyed, const uint32_t* next)
{
    KeyRowWith<ScalarLanes>(row, width, keyed, next);
}

size_t MedianScratchKeys()
{
    return std::max({interior::ScratchKeys<1, 3>(), interior::ScratchKeys<2, 5>(), interior::ScratchKeys<3, 7>(),
                     interior::ScratchKeys<4, 9>()});
}

void MedianInteriorRowPortable(const uint32_t* const* rows, int rowCount, int width, int radius, uint32_t* out,
                          uint32_t* scratch)
{
    MedianInteriorRowWith<ScalarLanes>(rows, rowCount, width, radius, out, scratch);
}

MedianVariants ChosenMedianVariants()
{
    static const MedianVariants chosen = CpuHasAvx2()   ? MedianVariants{&KeyRowByLumaAvx2, &MedianInteriorRowAvx2}
                                         : CpuHasSse2() ? MedianVariants{&KeyRowByLumaSse2, &MedianInteriorRowSse2}
                                                        : MedianVariants{&KeyRowByLuma, &MedianInteriorRowPortable};
    return chosen;
}

bool MedianFilter(const PixelRows& image, int radius, const UnitReport& report, int threads)
{
    radius = std::clamp(radius, kMinimumMedianRadius, kMaximumMedianRadius);
    if (image.bits == nullptr || image.width <= 2 * radius + 1 || image.height <= 2 * radius + 1) return false;
    const int total = 2 * image.height - 2 * radius;
    try {
        if (threads <= 1) {
            int done = 0;
            return MedianOfRows(image, radius, {0, image.height}, nullptr, nullptr,
                                [&] { return !report || report(++done, total); });
        }
        return MedianOfBands(image, radius, threads, [&](int done, int bands) {
            return !report || report(static_cast<int>(int64_t{total} * done / bands), total);
        });
    } catch (const std::bad_alloc&) {
        return false;
    }
}
