#pragma once
// The rotation fix: the free rotation turns the working image against its detected
// tilt, crops to the largest upright rectangle of its proportions and scales that
// back to the image's size.

#include "host/HostInterfaces.h"

// Stores the turned image in rotated (a new image; working is left as it is).
// progress (may be null) gets the detection and the turn as two passes and is told
// the outcome. A picture without a tilt found is turned by 0, which copies it.
bool FixRotation(IImage* working, IProgress* progress, IImage** rotated);
