#pragma once
// Inverts chosen colour channels of 32-bit pixels (blue, green, red, fourth byte):
// level v becomes 255 - v; the fourth byte is never touched.

#include "filters/shared/pixels/PixelRows.h"

#include <cstdint>

struct InvertedChannels {
    bool red = false;
    bool green = false;
    bool blue = false;
};

// Inverts the chosen channels of every pixel of every row, the rows spread over the
// kernel threads (filters/shared/parallel/RowBands.h). The work has no progress steps
// and cannot be stopped: one pass over the bytes is shorter than a report.
void InvertChannels(const PixelRows& image, InvertedChannels channels);
