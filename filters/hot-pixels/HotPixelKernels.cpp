#include "filters/hot-pixels/HotPixelKernels.h"

#include "filters/hot-pixels/HotPixelSelection.h"
#include "filters/shared/noise/NoiseEngine.h"
#include "filters/shared/parallel/RowBands.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <new>

namespace {

// The noise reduction the Noise filter's removal page runs: levels estimated from
// blocks of 20 valued by luma, red, green and blue as they are, a window of radius 3,
// variances divided by the pixel count.
constexpr NoiseReductionOptions kNoiseReduction{.smoothness = 3, .channelSwitch = 0, .divisorSwitch = 1};
constexpr NoiseEstimationOptions kNoiseEstimation{.blockSize = 20, .blockValueMode = 1};

// A dark pixel cannot be a hot one, however much it outshines its neighbours.
constexpr uint32_t kDarkestHotLevel = 64;
constexpr int kDetailCountLimit = 8;
constexpr int kDetectionUnitsPerRow = 3;

constexpr int kDiamondSize = 2 * kHotPixelReach * (kHotPixelReach + 1) + 1;

uint32_t MeanByteOf(uint32_t key)
{
    return key >> 24;
}

bool HasBrightColour(uint32_t pixel)
{
    return ((pixel >> 16) & 0xFF) > kDarkestHotLevel || ((pixel >> 8) & 0xFF) > kDarkestHotLevel ||
           (pixel & 0xFF) > kDarkestHotLevel;
}

bool OutshinesNeighbours(const PixelRows& keyed, int x, int y, uint32_t key)
{
    for (int dy = -1; dy <= 1; ++dy) {
        const uint32_t* row = keyed.Row(y + dy);
        if (row[x - 1] > key || row[x] > key || row[x + 1] > key) return false;
    }
    return true;
}

// The second-largest of the 16 keys at Chebyshev distance 2; equal keys count apart.
uint32_t SecondBrightestOfRing(const PixelRows& keyed, int x, int y)
{
    uint32_t first = 0;
    uint32_t second = 0;
    const auto take = [&](uint32_t key) {
        if (key > first) {
            second = first;
            first = key;
        } else if (key > second) {
            second = key;
        }
    };
    for (const int dy : {-2, 2}) {
        const uint32_t* row = keyed.Row(y + dy);
        for (int dx = -2; dx <= 2; ++dx) take(row[x + dx]);
    }
    for (int dy = -1; dy <= 1; ++dy) {
        const uint32_t* row = keyed.Row(y + dy);
        take(row[x - 2]);
        take(row[x + 2]);
    }
    return second;
}

// Nothing brighter within the diamond, and few moderately bright pixels beyond the
// central 5 x 5. The threshold is taken on the whole key, as 8/10 of it in integers.
bool StandsAloneInDiamond(const PixelRows& keyed, int x, int y, uint32_t key)
{
    const uint32_t detail = key / 10 * 8;
    int bright = 0;
    for (int dy = -kHotPixelReach; dy <= kHotPixelReach; ++dy) {
        const int row = y + dy;
        if (row < 0 || row >= keyed.height) continue;
        const int reach = kHotPixelReach - std::abs(dy);
        const uint32_t* pixels = keyed.Row(row);
        for (int dx = -reach; dx <= reach; ++dx) {
            const int column = x + dx;
            if (column < 0 || column >= keyed.width) continue;
            const uint32_t other = pixels[column];
            if (other > key) return false;
            const bool beyondCentre = std::abs(dx) > kHotPixelMargin || std::abs(dy) > kHotPixelMargin;
            if (beyondCentre && other > detail && ++bright > kDetailCountLimit) return false;
        }
    }
    return true;
}

int Chebyshev(const PixelOffset& offset)
{
    return std::max(std::abs(offset.dx), std::abs(offset.dy));
}

int Manhattan(const PixelOffset& offset)
{
    return std::abs(offset.dx) + std::abs(offset.dy);
}

std::array<PixelOffset, kDiamondSize> SortedDiamond()
{
    std::array<PixelOffset, kDiamondSize> offsets{};
    size_t next = 0;
    for (int dy = -kHotPixelReach; dy <= kHotPixelReach; ++dy) {
        const int reach = kHotPixelReach - std::abs(dy);
        for (int dx = -reach; dx <= reach; ++dx) offsets[next++] = {dx, dy};
    }
    std::stable_sort(offsets.begin(), offsets.end(), [](const PixelOffset& a, const PixelOffset& b) {
        if (Manhattan(a) != Manhattan(b)) return Manhattan(a) > Manhattan(b);
        return Chebyshev(a) > Chebyshev(b);
    });
    return offsets;
}

// One step further from the centre along each axis the offset moves on, unless that
// would leave the picture.
int StepAway(int delta, int position, int size)
{
    if (delta > 0 && position < size - 1) return 1;
    if (delta < 0 && position >= 1) return -1;
    return 0;
}

bool OnEdge(int position, int size)
{
    return position < 1 || position >= size - 1;
}

} // namespace

uint32_t MeanOf(uint32_t pixel)
{
    return (((pixel >> 16) & 0xFF) + ((pixel >> 8) & 0xFF) + (pixel & 0xFF) + 2) / 3;
}

bool PhaseCount::Advance(int units)
{
    m_done += units;
    return !m_report || m_report(m_done, m_total);
}

bool KeyRowsByMean(const PixelRows& image, PhaseCount& count)
{
    for (int y = 0; y < image.height; ++y) {
        uint32_t* row = image.Row(y);
        for (int x = 0; x < image.width; ++x) row[x] = (row[x] & 0x00FFFFFFu) | (MeanOf(row[x]) << 24);
        if (!count.Advance(1)) return false;
    }
    return true;
}

bool ClearFourthBytes(const PixelRows& image, PhaseCount& count)
{
    for (int y = 0; y < image.height; ++y) {
        uint32_t* row = image.Row(y);
        for (int x = 0; x < image.width; ++x) row[x] &= 0x00FFFFFFu;
        if (!count.Advance(1)) return false;
    }
    return true;
}

bool IsHotPixel(const PixelRows& keyed, int x, int y, int intensity)
{
    const uint32_t key = keyed.Row(y)[x];
    if (!HasBrightColour(key)) return false;
    // In 64 bits: the intensity comes from the parameter text unchecked.
    const int64_t darkEnough = int64_t{MeanByteOf(key)} - intensity;
    // The ring's second-brightest mean must lie below darkEnough, so two ring pixels
    // at or above it settle the matter. On most of a photo the ring's left and right
    // ends are such a pair: checked first, they spare the rest of the work.
    const uint32_t* row = keyed.Row(y);
    if (MeanByteOf(row[x - 2]) >= darkEnough && MeanByteOf(row[x + 2]) >= darkEnough) return false;
    if (!OutshinesNeighbours(keyed, x, y, key)) return false;
    if (MeanByteOf(SecondBrightestOfRing(keyed, x, y)) >= darkEnough) return false;
    return StandsAloneInDiamond(keyed, x, y, key);
}

namespace {

void FindInRow(const PixelRows& keyed, int y, int intensity, std::vector<HotPixel>& found)
{
    for (int x = kHotPixelMargin; x < keyed.width - kHotPixelMargin; ++x) {
        if (IsHotPixel(keyed, x, y, intensity)) found.push_back({x, y});
    }
}

} // namespace

bool FindHotPixels(const PixelRows& keyed, int intensity, PhaseCount& count, std::vector<HotPixel>& found)
{
    const int rows = std::max(0, keyed.height - 2 * kHotPixelMargin);
    // Each row's finds apart, so that bands on other threads keep the order of rows.
    std::vector<std::vector<HotPixel>> byRow(static_cast<size_t>(rows));
    int told = 0;
    const auto tell = [&](int done) {
        const int units = (done - told) * kDetectionUnitsPerRow;
        told = done;
        return count.Advance(units);
    };
    const bool searched = ForEachRowBand(
        rows, [&](int done, int) { return done == told || tell(done); },
        [&](int first, int last) {
            for (int row = first; row < last; ++row) {
                FindInRow(keyed, row + kHotPixelMargin, intensity, byRow[static_cast<size_t>(row)]);
            }
        });
    if (!searched || (told < rows && !tell(rows))) return false;
    for (const std::vector<HotPixel>& row : byRow) found.insert(found.end(), row.begin(), row.end());
    return true;
}

int IsolationLimit(int width, int height)
{
    return std::max(10, std::min(width, height) / 50);
}

std::vector<HotPixel> KeepIsolated(std::span<const HotPixel> candidates, int limit)
{
    std::vector<bool> crowded(candidates.size(), false);
    for (size_t i = 0; i < candidates.size(); ++i) {
        for (size_t j = i + 1; j < candidates.size() && candidates[j].y - candidates[i].y <= limit; ++j) {
            if (std::abs(candidates[j].x - candidates[i].x) + candidates[j].y - candidates[i].y > limit) continue;
            crowded[i] = true;
            crowded[j] = true;
        }
    }
    std::vector<HotPixel> kept;
    for (size_t i = 0; i < candidates.size(); ++i) {
        if (!crowded[i]) kept.push_back(candidates[i]);
    }
    return kept;
}

std::span<const PixelOffset> RepairOrder()
{
    static const std::array<PixelOffset, kDiamondSize> order = SortedDiamond();
    return order;
}

void RepairHotPixel(const PixelRows& keyed, HotPixel centre)
{
    for (const PixelOffset& offset : RepairOrder()) {
        const int qx = centre.x + offset.dx;
        const int qy = centre.y + offset.dy;
        if (qx < 0 || qx >= keyed.width || qy < 0 || qy >= keyed.height) continue;
        const int nx = qx + StepAway(offset.dx, qx, keyed.width);
        const int ny = qy + StepAway(offset.dy, qy, keyed.height);
        if (OnEdge(nx, keyed.width) || OnEdge(ny, keyed.height)) continue;
        keyed.Row(qy)[qx] = SelectFromCompassWindow(CompassWindowAt(keyed, nx, ny));
    }
}

int RepairPhaseTotal(int height)
{
    return 2 * (3 * height - 6);
}

bool FixHotPixels(const PixelRows& image, int intensity, const UnitReport& report,
                  const std::function<void(bool)>& endNoisePhase)
{
    if (image.bits == nullptr || image.width <= 0 || image.height <= 0) return false;
    std::vector<HotPixel> found;
    try {
        std::vector<uint32_t> copy(static_cast<size_t>(image.width) * static_cast<size_t>(image.height));
        const PixelRows work{reinterpret_cast<uint8_t*>(copy.data()), ptrdiff_t{4} * image.width, image.width,
                             image.height};
        for (int y = 0; y < image.height; ++y) std::copy_n(image.Row(y), image.width, work.Row(y));
        NoiseLevels levels{};
        const bool reduced = ReduceNoiseOfWhole(work, report, true, levels, kNoiseReduction, kNoiseEstimation);
        if (endNoisePhase) endNoisePhase(reduced);
        if (!reduced) return false;
        PhaseCount count(report, RepairPhaseTotal(image.height));
        if (!KeyRowsByMean(work, count) || !FindHotPixels(work, intensity, count, found)) return false;
        copy = {};
        const std::vector<HotPixel> kept = KeepIsolated(found, IsolationLimit(image.width, image.height));
        if (!KeyRowsByMean(image, count)) return false;
        for (const HotPixel& centre : kept) RepairHotPixel(image, centre);
        if (!ClearFourthBytes(image, count)) return false;
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}
