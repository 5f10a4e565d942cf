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
