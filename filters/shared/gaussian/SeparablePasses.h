#pragma once
// The two convolution passes of the Gaussian blur, free of interfaces. Each colour
// byte is convolved on its own; the fourth byte of every produced pixel is 0.
//
// Two paths exist and agree wherever the kernel lies wholly inside the image. The
// fixed-point path (SSE2) repeats the edge rows and columns beyond the image and
// divides by 8192 with a shift; the portable path leaves the outside taps out and
// divides by the weights it used.

#include "filters/shared/parallel/RowBands.h"
#include "filters/shared/pixels/PixelRows.h"

#include <cstdint>
#include <functional>
#include <span>

enum class BlurPath { FixedPoint, Portable };

// What becomes of each blurred row before it is written, for filters that blur on
// the way to something else: out = f(original, blurred) over width pixels. original
// is the row of the blur's source, blurred a row of the blur's own, out the row of to.
using BlurredRowMerge = std::function<void(const uint8_t* original, const uint8_t* blurred, uint8_t* out, int width)>;

// The vertical pass, to(x, y) = sum of kernel[i] * from(x, y - m + i) with m the
// centre index, then the horizontal pass on its bytes, to(x, y) = sum of kernel[i] *
// first(x - m + i, y). from and to are distinct images of one size. Each row's
// vertical sums are kept in a row of its own and passed on at once, so no picture of
// the first pass exists and the rows spread over threads (filters/shared/parallel/
// RowBands.h). With merge, each blurred row goes through it into to.
//
// report(rows done, height) as the row bands tell it, and (height, height) at the
// end. False, with to partly written, when report stops it or memory runs out.
bool BlurPicture(const PixelRows& from, const PixelRows& to, std::span<const int32_t> kernel, BlurPath path,
                 const UnitReport& report, const BlurredRowMerge& merge = {}, int threads = KernelThreadCount());

// Which path the blur takes on this processor, chosen once: the fixed-point path
// where SSE2 runs it, the portable path elsewhere and when portable code is forced
// (platform/CpuFeatures.h).
BlurPath ChosenBlurPath();

// One output row of width pixels: out[x] = sum of weights[i] * sources[i][x] for i
// below taps, per colour byte. The fixed-point rows shift the sum right by 13; the
// portable one divides by divisor (the sum of the weights given) and truncates.
// All clamp to 0..255 and write 0 into the fourth byte. Weights are 0..8192, and
// no source may be the output row.
//
// The scalar fixed-point row defines the fixed-point path; the Sse2 and Avx2 rows
// give its bytes and may only run where the processor has the instructions.
using FixedPointRow = void (*)(const uint8_t* const* sources, const int32_t* weights, int taps, uint8_t* out,
                               int width);
void WeightedRowFixedPointScalar(const uint8_t* const* sources, const int32_t* weights, int taps, uint8_t* out,
                                 int width);
void WeightedRowFixedPointSse2(const uint8_t* const* sources, const int32_t* weights, int taps, uint8_t* out,
                               int width);
void WeightedRowFixedPointAvx2(const uint8_t* const* sources, const int32_t* weights, int taps, uint8_t* out,
                               int width);
void WeightedRowPortable(const uint8_t* const* sources, const int32_t* weights, int taps, int32_t divisor,
                         uint8_t* out, int width);

// The fixed-point row for this processor, chosen once; the passes call it.
FixedPointRow ChosenFixedPointRow();
