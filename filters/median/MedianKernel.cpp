#include "filters/median/MedianKernel.h"

#include "filters/median/MedianKernelRankWindow.h"
#include "platform/CpuFeatures.h"

#include <algorithm>
#include <array>
#include <new>
#include <vector>

namespace {

struct SortedColumn {
    uint32_t low;
    uint32_t middle;
    uint32_t high;
};

SortedColumn SortColumn(uint32_t a, uint32_t b, uint32_t c)
{
    const uint32_t low = std::min(a, b);
    const uint32_t high = std::max(a, b);
    return {std::min(low, c), std::max(low, std::min(high, c)), std::max(high, c)};
}

uint32_t MedianOfThree(uint32_t a, uint32_t b, uint32_t c)
{
    return std::max(std::min(a, b), std::min(std::max(a, b), c));
}

// The fifth of nine keys given as three sorted columns: it is at least the largest
// column minimum, at most the smallest column maximum, and the median of the three
// column middles settles it between them.
uint32_t MedianOfNine(const SortedColumn& left, const SortedColumn& centre, const SortedColumn& right)
{
    const uint32_t lowest = std::max({left.low, centre.low, right.low});
    const uint32_t highest = std::min({left.high, centre.high, right.high});
    return MedianOfThree(lowest, MedianOfThree(left.middle, centre.middle, right.middle), highest);
}

// The rank rule on the window clipped at the edges, for the few pixels near them.
uint32_t SelectClipped(const PixelRows& image, int x, int y, int radius)
{
    std::array<uint32_t, kLargestMedianWindow> keys{};
    int count = 0;
    for (int row = std::max(0, y - radius); row <= std::min(image.height - 1, y + radius); ++row) {
        const uint32_t* pixels = image.Row(row);
        for (int column = std::max(0, x - radius); column <= std::min(image.width - 1, x + radius); ++column) {
            keys[static_cast<size_t>(count++)] = pixels[column];
        }
    }
    std::nth_element(keys.begin(), keys.begin() + count / 2, keys.begin() + count);
    return keys[static_cast<size_t>(count / 2)];
}

// Radius 1 treats its corners apart: the smaller of the two rows' larger keys.
uint32_t CornerKey(const PixelRows& image, int x, int y)
{
    const int neighbourColumn = x == 0 ? 1 : x - 1;
    const uint32_t* own = image.Row(y);
    const uint32_t* adjacent = image.Row(y == 0 ? 1 : y - 1);
    return std::min(std::max(own[x], own[neighbourColumn]), std::max(adjacent[x], adjacent[neighbourColumn]));
}

void SelectRowRadius1(const PixelRows& image, int y, MedianRowRadius1Variant interior, uint32_t* out)
{
    const int last = image.width - 1;
    if (y == 0 || y == image.height - 1) {
        out[0] = CornerKey(image, 0, y);
        out[last] = CornerKey(image, last, y);
        for (int x = 1; x < last; ++x) out[x] = SelectClipped(image, x, y, 1);
        return;
    }
    out[0] = SelectClipped(image, 0, y, 1);
    out[last] = SelectClipped(image, last, y, 1);
    interior(image.Row(y - 1), image.Row(y), image.Row(y + 1), image.width, out);
}

// Slides the window along the row: one column leaves and one enters per pixel, so
// keeping the counts costs per pixel the window's height, not its area. Clipping at
// the edges needs nothing special: the rows are clipped once, the columns by simply
// not entering what is not there.
void SelectRowSliding(const PixelRows& image, int y, int radius, KeyOfRankWithinLumaVariant select, uint32_t* out)
{
    std::array<const uint32_t*, 2 * kMaximumMedianRadius + 1> rows{};
    int rowCount = 0;
    for (int row = std::max(0, y - radius); row <= std::min(image.height - 1, y + radius); ++row) {
        rows[static_cast<size_t>(rowCount++)] = image.Row(row);
    }
    CLumaRankWindow counts;
    for (int x = 0; x <= radius; ++x) counts.Enter(rows.data(), rowCount, x);
    for (int x = 0; x < image.width; ++x) {
        const int first = std::max(0, x - radius);
        const int width = std::min(image.width - 1, x + radius) - first + 1;
        const LumaRank found = counts.Locate(counts.Size() / 2);
        out[x] = select({rows.data(), rowCount, first, width}, found.luma, found.rank);
        if (x - radius >= 0) counts.Leave(rows.data(), rowCount, x - radius);
        if (x + radius + 1 < image.width) counts.Enter(rows.data(), rowCount, x + radius + 1);
    }
}

// The results land here first: every window must see the keys as they were.
bool AllocateScratch(std::vector<uint32_t>& scratch, const PixelRows& image)
{
    try {
        scratch.resize(static_cast<size_t>(image.width) * static_cast<size_t>(image.height));
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

// The largest key with at most rank keys below it is the key of that rank; equal
// keys need no order among themselves, being the same pixel.
uint32_t KeyOfRankAmong(const uint32_t* keys, int count, int rank)
{
    uint32_t found = 0;
    for (int i = 0; i < count; ++i) {
        int below = 0;
        for (int j = 0; j < count; ++j) below += keys[j] < keys[i] ? 1 : 0;
        found = below <= rank ? std::max(found, keys[i]) : found;
    }
    return found;
}

} // namespace

uint32_t LumaOf(uint32_t pixel)
{
    const uint32_t red = (pixel >> 16) & 0xFF;
    const uint32_t green = (pixel >> 8) & 0xFF;
    const uint32_t blue = pixel & 0xFF;
    return (red * 0x4C8000u + green * 0x964000u + blue * 0x1D4000u) >> 24;
}

// Each column is sorted once and serves three outputs.
void MedianRowRadius1(const uint32_t* below, const uint32_t* row, const uint32_t* above, int width, uint32_t* out)
{
    SortedColumn left = SortColumn(below[0], row[0], above[0]);
    SortedColumn centre = SortColumn(below[1], row[1], above[1]);
    for (int x = 1; x + 1 < width; ++x) {
        const SortedColumn right = SortColumn(below[x + 1], row[x + 1], above[x + 1]);
        out[x] = MedianOfNine(left, centre, right);
        left = centre;
        centre = right;
    }
}

uint32_t KeyOfRankWithinLuma(const MedianWindow& window, uint32_t luma, int rank)
{
    std::array<uint32_t, kLargestMedianWindow> keys;
    int count = 0;
    for (int i = 0; i < window.rowCount; ++i) {
        const uint32_t* row = window.rows[i] + window.first;
        for (int x = 0; x < window.width; ++x) {
            keys[static_cast<size_t>(count)] = row[x];  // kept only if the luma matches
            count += row[x] >> 24 == luma ? 1 : 0;
        }
    }
    return KeyOfRankAmong(keys.data(), count, rank);
}

void KeyRowByLuma(uint32_t* row, int width)
{
    for (int x = 0; x < width; ++x) row[x] = (row[x] & 0x00FFFFFFu) | (LumaOf(row[x]) << 24);
}

MedianVariants ChosenMedianVariants()
{
    static const MedianVariants variants = CpuHasAvx2()
                                               ? MedianVariants{&MedianRowRadius1Avx2, &KeyOfRankWithinLumaAvx2}
                                               : MedianVariants{&MedianRowRadius1, &KeyOfRankWithinLuma};
    return variants;
}

bool MedianFilter(const PixelRows& image, int radius, const UnitReport& report)
{
    radius = std::clamp(radius, kMinimumMedianRadius, kMaximumMedianRadius);
    if (image.bits == nullptr || image.width <= 2 * radius + 1 || image.height <= 2 * radius + 1) return false;
    std::vector<uint32_t> storage;
    if (!AllocateScratch(storage, image)) return false;

    const int total = 2 * image.height - 2 * radius;
    int done = 0;
    const auto advance = [&] { return !report || report(++done, total); };
    for (int y = 0; y < image.height; ++y) {
        KeyRowByLuma(image.Row(y), image.width);
        if (!advance()) return false;
    }

    const PixelRows scratch{reinterpret_cast<uint8_t*>(storage.data()),
                            static_cast<ptrdiff_t>(image.width) * 4, image.width, image.height};
    const MedianVariants variants = ChosenMedianVariants();
    for (int y = 0; y < image.height; ++y) {
        if (radius == 1) SelectRowRadius1(image, y, variants.rowRadius1, scratch.Row(y));
        else SelectRowSliding(image, y, radius, variants.keyOfRankWithinLuma, scratch.Row(y));
        const bool interior = y >= radius && y < image.height - radius;
        if (interior && !advance()) return false;
    }
    for (int y = 0; y < image.height; ++y) std::copy_n(scratch.Row(y), image.width, image.Row(y));
    return true;
}
