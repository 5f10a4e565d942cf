#pragma once
// Smooths noise with a local adaptive filter: each pixel moves toward the mean of
// the square window around it in proportion to how much of the window's variance the
// noise level does not explain. Where the noise explains all of it the window is
// flat and the pixel becomes the mean; on edges and texture the variance is far above
// the noise and the pixel stays nearly as it was.

#include "filters/shared/noise/NoiseLevels.h"
#include "filters/shared/pixels/PixelRows.h"

#include <cstdint>

inline constexpr int kSmallestReductionRadius = 1;
inline constexpr int kLargestReductionRadius = 10;

struct ReductionInputs {
    int radius = 3;  // kSmallestReductionRadius to kLargestReductionRadius
    bool lumaChannels = false;
    bool divideByCount = true;  // else by the count less one
    // The level of the channel with the largest window mean decides whether the
    // window is flat; the two other channels are held to the estimated levels.
    NoiseLevels deciding;
    NoiseLevels others;
};

// Sums over the window of every pixel of one row, and what each pixel is compared with.
struct ReductionRow {
    const int32_t* sums[3];
    const int32_t* squares[3];
    const int16_t* own[3];  // the pixels' own working channels
    const int32_t* counts;  // pixels inside the picture of each window
    int width;
};

// The pixels of one row, each from its window alone. A lone pixel (a window of one
// with the count less one as divisor) keeps its colours.
void ReduceRowPortable(const ReductionRow& row, const ReductionInputs& inputs, uint32_t* out);

// Reduces every pixel of image in place from the original pixels, windows clipped at
// the picture's edges; written pixels have a fourth byte of 0. With every level 0 the
// picture stays exactly as it was. report hears two units per row out of twice the
// height; false when it stops the work.
bool ReduceNoiseOfRows(const PixelRows& image, const ReductionInputs& inputs, const UnitReport& report);
