#pragma once
// The first look at the picture: the brightness of each pixel (its largest colour
// byte), averaged over areas so that the longer side is at most 640 pixels. Edges
// are searched at this size whatever the photo's resolution.

#include "filters/shared/pixels/PixelRows.h"
#include "filters/shared/straightening/StageProgress.h"
#include "filters/shared/straightening/WorkingPlane.h"

#include <cstdint>

struct WorkingSize {
    int width = 0;
    int height = 0;
    float step = 1.0f;  // source pixels per working pixel, along both axes
};

// The longer side brought to 640 pixels, never enlarged (a smaller picture keeps its
// own size and a step of 1).
WorkingSize WorkingSizeOf(int width, int height);

// Averages the brightness of rows over the square of source pixels under each
// working pixel, partly covered pixels by their covered share, into a plane of size.
// Counts one unit per source row and one per working row; false when stopped.
bool ReduceBrightness(const PixelRows& rows, const WorkingSize& size, WorkingPlane<uint8_t>& plane,
                      StageProgress& progress);
