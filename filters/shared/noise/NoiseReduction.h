#pragma once
// Smooths noise with a local adaptive filter: each pixel moves toward the mean of
// the square window around it in proportion to how much of the window's variance the
// noise level does not explain. Where the noise explains all of it the window is
// flat and the pixel becomes the mean; on edges and texture the variance is far above
// the noise and the pixel stays nearly as it was.

#include "filters/shared/noise/NoiseLevels.h"
#include "filters/shared/parallel/RowBands.h"
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

// What the pixels share whose windows hold the same number of pixels.
inline constexpr int kReciprocalBits = 40;
struct WindowShape {
    int count = 1;
    int divisor = 1;                   // the count, or the count less one
    double countTimesDivisor = 1;      // exact
    uint64_t halfCountReciprocal = 0;  // ceil(2^kReciprocalBits / (2 x count))
    double halfReciprocal = 0.5;       // 1 / (2 x count), rounded
};
WindowShape WindowShapeOf(int count, bool divideByCount);

// Whether a level covers a window's variance is decided from the exact variance
// D / (n x divisor), D = n Q - S^2, where the level lies farther than
// kUncertainVariance from it; the level's product with n x divisor is trusted to a
// relative kLevelProductError. Closer levels take the double arithmetic itself.
inline constexpr double kUncertainVariance = 1e-9;
inline constexpr double kLevelProductError = 1e-15;

// Sums over the window of every pixel of one row, and what each pixel is compared with.
struct ReductionRow {
    const int32_t* sums[3];
    const int32_t* squares[3];
    const int16_t* own[3];      // the pixels' own working channels
    const uint8_t* spans;       // columns each window spans
    const WindowShape* shapes;  // by span, 1 to widestSpan
    int widestSpan;
    int width;
};

// Window sums of one row of width pixels from the column sums, which carry radius + 1
// columns of zeros on both sides (columns[-radius - 1] to columns[width + radius]).
void SlideWindowPortable(const int32_t* columns, int width, int radius, int32_t* sums);
void SlideWindowAvx2(const int32_t* columns, int width, int radius, int32_t* sums);

// The pixels of one row from first on, each from its window alone. A lone pixel (a
// window of one with the count less one as divisor) keeps its colours.
void ReduceRowPortable(const ReductionRow& row, const ReductionInputs& inputs, uint32_t* out, int first = 0);
void ReduceRowAvx2(const ReductionRow& row, const ReductionInputs& inputs, uint32_t* out, int first = 0);

// The loops of one way of reducing. The AVX2 ones give the same words as the portable
// ones, which define them, and may only run where the processor has AVX2.
using SlideWindowVariant = void (*)(const int32_t* columns, int width, int radius, int32_t* sums);
using ReduceRowVariant = void (*)(const ReductionRow& row, const ReductionInputs& inputs, uint32_t* out, int first);
struct ReductionVariant {
    SlideWindowVariant slide;
    ReduceRowVariant reduceRow;
};
extern const ReductionVariant kPortableReduction;
extern const ReductionVariant kAvx2Reduction;
// AVX2 where the processor has it and portable code is not forced.
const ReductionVariant& ChosenReduction();

// Reduces every pixel of image in place from the original pixels, windows clipped at
// the picture's edges; written pixels have a fourth byte of 0. With every level 0 the
// picture stays exactly as it was. report hears two units per row out of twice the
// height (with several threads, in proportion to the bands of rows done, the copies
// of the rows beside each band taken before any band starts); false when it stops
// the work or memory runs out.
bool ReduceNoiseOfRows(const PixelRows& image, const ReductionInputs& inputs, const UnitReport& report,
                       const ReductionVariant& variant = ChosenReduction(), int threads = KernelThreadCount());
