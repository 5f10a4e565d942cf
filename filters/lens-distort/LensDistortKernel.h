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
// Each row is reported before it is written; false when report stops the work,
// with the rows before it written.
bool DistortLens(const PixelRows& source, const PixelRows& target, double coefficient, const UnitReport& report);

// What every row loop needs besides the source: the target's centre, the reference
// radius and the coefficient.
struct LensGeometry {
    int cx;
    int cy;
    double reference;
    double coefficient;
};

// Writes row y's pixels first to last - 1 (within 0 .. width). The portable loop
// defines the bits; a vector loop gives the same and may only run where the
// processor has its instructions (platform/CpuFeatures.h).
using LensRowLoop = void (*)(const PixelRows& source, const LensGeometry& geometry, int y, int first, int last,
                             uint32_t* row);

void LensRowPortable(const PixelRows& source, const LensGeometry& geometry, int y, int first, int last,
                     uint32_t* row);
void LensRowAvx2(const PixelRows& source, const LensGeometry& geometry, int y, int first, int last, uint32_t* row);

// AVX2 where the processor has it, unless portable code is forced; chosen once.
LensRowLoop ChosenLensRowLoop();

// DistortLens with the given row loop, for tests and benchmarks that compare them.
bool DistortLensWith(const PixelRows& source, const PixelRows& target, double coefficient, const UnitReport& report,
                     LensRowLoop loop);
