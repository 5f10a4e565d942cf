#pragma once
// Darkens a picture towards its edges: each pixel's colour is scaled by a factor
// that is 1 at the centre and falls to 0 on the ellipse touching the four edges at
// their midpoints, and stays 0 beyond it.

#include "filters/shared/pixels/PixelRows.h"

// Scales red, green and blue of every pixel by its factor, truncating, and clears
// the fourth byte. Rows are section rows (row 0 the bottom), so the centre row is
// height / 2 counted from the bottom. Each row is reported before it changes; false
// when report stops the work, with the rows before it changed.
bool Vignette(const PixelRows& image, const UnitReport& report);
