#pragma once
// The value a repaired pixel takes from the 3 x 3 window around its neighbour: a
// fixed sequence of compares over the nine keys that yields the window's median in
// most windows but not in all. Repairs must match it compare for compare, so it is
// kept apart from the kernels that call it and is tested on its own.

#include "filters/shared/pixels/PixelRows.h"

#include <cstdint>

// The nine keys named by compass position around the centre Z, as the picture is
// seen: the north row is the section row above (row + 1), the south row the one
// below (row - 1), west is column - 1.
struct CompassWindow {
    uint32_t nw, n, ne;
    uint32_t w, z, e;
    uint32_t sw, s, se;
};

// The window centred on (x, y) of rows; the centre must lie at least 1 inside.
CompassWindow CompassWindowAt(const PixelRows& rows, int x, int y);

// Whole keys compared as unsigned words.
uint32_t SelectFromCompassWindow(const CompassWindow& window);
