#pragma once
// Darkens a picture towards its edges: each pixel's colour is scaled by a factor
// that is 1 at the centre and falls to 0 on the ellipse touching the four edges at
// their midpoints, and stays 0 beyond it.

#include "filters/shared/pixels/PixelRows.h"

#include <cstdint>

// Scales red, green and blue of every pixel by its factor, truncating, and clears
// the fourth byte. Rows are section rows (row 0 the bottom), so the centre row is
// height / 2 counted from the bottom. Each row is reported before it changes; false
// when report stops the work, with the rows before it changed. Runs the loops chosen
// for this processor; every set gives the same bits.
bool Vignette(const PixelRows& image, const UnitReport& report);

// The two per-row loops, of which a processor's vector instructions can run several
// factors or pixels at once. The portable set defines the bits; the others must give
// the same, and may only run where the processor has their instructions
// (platform/CpuFeatures.h).
struct VignetteLoops {
    // factors[i] = sqrt(clamp(1 - sqrt(uSquares[i] + vSquare), 0, 1)) for i < count.
    void (*factors)(const double* uSquares, double vSquare, double* factors, int count);
    // Each of the count pixels gets trunc(channel * factor) in red, green and blue
    // and 0 in the fourth byte; pixel i's factor is factors[i].
    void (*scale)(uint32_t* pixels, const double* factors, int count);
    // The same with the factors read backwards: pixel i's is factors[count - 1 - i].
    void (*scaleMirrored)(uint32_t* pixels, const double* factors, int count);
};

extern const VignetteLoops kPortableVignetteLoops;
extern const VignetteLoops kAvx2VignetteLoops;

// AVX2 where the processor has it, unless portable code is forced; chosen once.
const VignetteLoops& ChosenVignetteLoops();

// Vignette with the given loops, for tests and benchmarks that compare them.
bool VignetteWith(const PixelRows& image, const UnitReport& report, const VignetteLoops& loops);
