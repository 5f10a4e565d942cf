#pragma once
// Estimates a picture's noise as one variance per working channel. The picture is cut
// into a centred grid of square blocks; blocks neither too dark nor too bright take
// part. Most blocks of a photo hold detail, edges or gradients, whose variance is
// large and scattered, while the smooth ones share a similar, small variance: the
// estimate is the mean variance of the most crowded variance range.

#include "filters/shared/noise/NoiseLevels.h"
#include "filters/shared/pixels/PixelRows.h"

#include <vector>

struct EstimatorInputs {
    int blockSize = 20;      // before the floor of 10 and the raise for large pictures
    int blockValueMode = 1;  // as BlockValueOf
    bool lumaChannels = false;
    bool divideByCount = true;  // else by the count less one
    int minimumSide = 320;      // pictures narrower or lower are not estimated
};

inline constexpr int kSmallestBlock = 10;
inline constexpr int kMostBlocksAcross = 255;

// The block side used on a width x height picture: at least kSmallestBlock, and large
// enough that neither side holds more than kMostBlocksAcross blocks.
int EstimatorBlockSide(int width, int height, int requested);

// A block that takes part: the variance of its block values and of each channel.
struct BlockVariances {
    double ofValues = 0.0;
    double ofChannels[3] = {0.0, 0.0, 0.0};
};

// The variance of n values from their sum and sum of squares, divided by n or n - 1;
// the numerator is exact, only its quotient is rounded.
double VarianceOfSums(int64_t sum, int64_t squares, int64_t count, int64_t divisor);

// The blocks that take part, block rows from the grid's row nearest row 0 upwards,
// left to right within a row. report hears the rows read so far out of the picture's
// height after each block row but the last; false when it stops the work.
bool MeasureBlocks(const PixelRows& picture, int side, const EstimatorInputs& inputs, const UnitReport& report,
                   std::vector<BlockVariances>& blocks);

// Orders the blocks by the variance of their values (equal ones keep their order) and
// narrows the range to the most crowded one: the window shrinks to a third of its
// width at each step until it is at most 10 wide, and each step keeps the first of
// the start blocks whose window holds the most blocks. Each level is the mean channel
// variance over that range, clamped to [1, 200]; all 0 without blocks.
NoiseLevels LevelsOfMostCrowdedRange(std::vector<BlockVariances> blocks);

// The whole estimate. A picture below the minimum side or one block gives levels 0
// and succeeds. report hears rows read out of the picture's height, the last report
// being the height; false when it stops the work.
bool EstimateNoiseLevels(const PixelRows& picture, const EstimatorInputs& inputs, const UnitReport& report,
                         NoiseLevels& estimates);
