#pragma once
// Radial lens distortion: every output pixel is read from the source at its own
// direction from the centre but a radius changed by a cubic term, between the four
// nearest source pixels. Positive coefficients reach further out (barrel), negative
// ones further in (pincushion); 0 keeps every pixel.

#include "filters/shared/pixels/PixelRows.h"

// Fills every pixel of target (distinct from source) from source, whose own size
// bounds the samples: points outside it read 0. Rows are section rows (row 0 the
// bottom); the centre is (width / 2, height / 2) of target and the reference radius
// half its shorter side. The centre pixel is copied whole; every other pixel gets
// the rounded, bilinearly weighted red, green and blue and 0 in the fourth byte.
// The rows are written in pairs at one distance from the centre row, spread over the
// kernel threads (filters/shared/parallel/RowBands.h, which says when report is
// told); report gets the rows written so far and the target's height. False when
// report stops the work, some rows then unwritten.
bool DistortLens(const PixelRows& source, const PixelRows& target, double coefficient, const UnitReport& report);

// What every row loop needs besides the source: the target's centre, the reference
// radius and the coefficient.
struct LensGeometry {
    int cx;
    int cy;
    double reference;
    double coefficient;
};

// Writes row y's pixels first to last - 1 (within 0 .. width): the loop that defines
// the bits.
void LensRowPortable(const PixelRows& source, const LensGeometry& geometry, int y, int first, int last,
                     uint32_t* row);

// Writes the whole target rows cy + dy and cy - dy (dy >= 0), those inside the target,
// one row when dy is 0: the rows at one distance from the centre row share every
// root and quotient. The portable loop runs LensRowPortable on each; the AVX2 one
// gives the same bits and may only run where the processor has it
// (platform/CpuFeatures.h).
using LensRowPairLoop = void (*)(const PixelRows& source, const LensGeometry& geometry, int dy,
                                 const PixelRows& target);
void LensRowPairPortable(const PixelRows& source, const LensGeometry& geometry, int dy, const PixelRows& target);
void LensRowPairAvx2(const PixelRows& source, const LensGeometry& geometry, int dy, const PixelRows& target);

// AVX2 where the processor has it, unless portable code is forced; chosen once.
LensRowPairLoop ChosenLensRowPairLoop();

// DistortLens with the given loop and thread count, for tests and benchmarks that
// compare them.
bool DistortLensWith(const PixelRows& source, const PixelRows& target, double coefficient, const UnitReport& report,
                     LensRowPairLoop loop, int threads);
