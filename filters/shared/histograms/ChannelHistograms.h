#pragma once
// Counts of the red, green, blue and luminance levels of a 32-bit picture: the
// exposure dialogs draw them, their automatic limits and the autofix read them.

#include "filters/shared/pixels/PixelRows.h"
#include "host/HostInterfaces.h"

#include <cstdint>

inline constexpr int kHistogramLevels = 256;
// Blocks of kHistogramLevels counts, in this order.
enum HistogramBlock : int { kRedCounts = 0, kGreenCounts = 1, kBlueCounts = 2, kLuminanceCounts = 3 };
inline constexpr int kHistogramCountsSize = 4 * kHistogramLevels;

// The weights sum to 1024, so white stays 255 and no sum leaves 18 bits.
constexpr int LuminanceOf(int red, int green, int blue)
{
    return (306 * red + 601 * green + 117 * blue) >> 10;
}

// Zeroes counts, then counts every pixel, in bands of rows spread over the kernel
// threads (filters/shared/parallel/RowBands.h, which says how report is told); false
// when report stops it, the counts then incomplete.
bool CountChannelLevels(const PixelRows& image, uint32_t counts[kHistogramCountsSize], const UnitReport& report);

// The loops that add one row's pixels to two tables of kHistogramCountsSize counts
// each, which together hold the row's counts (which pixel goes to which table is the
// loop's affair). The AVX2 one gives the portable loop's counts and may only run
// where the processor has it (platform/CpuFeatures.h).
using LevelRowCounter = void (*)(const uint32_t* row, int width, uint32_t* twoTables);
void CountLevelsRowPortable(const uint32_t* row, int width, uint32_t* twoTables);
void CountLevelsRowAvx2(const uint32_t* row, int width, uint32_t* twoTables);

// AVX2 where the processor has it, unless portable code is forced; chosen once.
LevelRowCounter ChosenLevelRowCounter();

// CountChannelLevels with the given row loop and thread count (RowBands.h), for
// tests and benchmarks.
bool CountChannelLevelsWith(const PixelRows& image, uint32_t counts[kHistogramCountsSize], const UnitReport& report,
                            LevelRowCounter countRow, int threads);

// The same over a host's bitmap handle, with its progress sink (may be null), which
// is told at the end whether the count succeeded. False for a missing handle or
// array, a bitmap without description, or a stop.
bool ComputeChannelHistograms(HBITMAP bitmap, uint32_t* counts, IProgress* progress = nullptr);

// The third-largest of the 256 counts of one block, equal counts taken one by one,
// so that two high peaks do not flatten the rest of a drawing or a threshold.
uint32_t ThirdLargestCount(const uint32_t* levels);
