#pragma once
// The free rotation's pixel loops, free of interfaces: every output row walks the
// source in fixed point from its own start (RotationLayout) and samples it.
//
// Bilinear: with fractions fx, fy (0 to 1023) the four neighbours weigh
// ((1024-fx)(1024-fy)+512)>>10, (fx(1024-fy)+512)>>10, ((1024-fx)fy+512)>>10 and
// (fx fy+512)>>10; each of the four bytes is the weighted sum shifted right by 10,
// clamped to 255. A neighbour outside the source counts as the background pixel, so
// the picture's border blends into the background.
// Nearest: the source pixel at ((value+512)>>10) in each coordinate, or the
// background pixel where that lies outside.

#include "filters/rotate/RotationLayout.h"
#include "filters/shared/pixels/PixelRows.h"

#include <cstdint>

// Fills every row Y of target (layout.width x layout.height) from source, reporting
// (Y, height) before each row; false when report stops it. backgroundPixel is the
// pixel as stored (blue, green, red, fourth byte). Bilinear runs the variant chosen
// for this processor; all variants give the same bits.
bool RotatePixels(const PixelRows& source, const PixelRows& target, const RotationLayout& layout,
                  uint32_t backgroundPixel, RotationSampling sampling, const UnitReport& report);

// The bilinear blend of count output pixels whose source points, from start on by
// step, all have their four neighbours inside the source, so no bounds are checked.
// The Sse2 and Avx2 variants give the portable loop's bits and may only run where
// the processor has the instructions (platform/CpuFeatures.h).
using InteriorSpan = void (*)(const PixelRows& source, FixedPoint start, FixedPoint step, int count, uint32_t* out);
void BilinearInteriorSpan(const PixelRows& source, FixedPoint start, FixedPoint step, int count, uint32_t* out);
void BilinearInteriorSpanSse2(const PixelRows& source, FixedPoint start, FixedPoint step, int count, uint32_t* out);
void BilinearInteriorSpanAvx2(const PixelRows& source, FixedPoint start, FixedPoint step, int count, uint32_t* out);

// The interior variant for this processor, chosen once: AVX2, else SSE2, unless
// portable code is forced.
InteriorSpan ChosenBilinearInteriorSpan();

// RotatePixels' bilinear path with the given interior variant, for tests and
// benchmarks that compare the variants.
bool RotateBilinear(const PixelRows& source, const PixelRows& target, const RotationLayout& layout,
                    uint32_t backgroundPixel, InteriorSpan interior, const UnitReport& report);
