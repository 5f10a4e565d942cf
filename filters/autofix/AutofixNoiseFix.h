#pragma once
// The noise fix: the noise engine estimates the image's noise levels itself and
// smooths with them, in red, green and blue, over a 7 x 7 window.

#include "host/HostInterfaces.h"

// progress (may be null) gets the engine's reports as one pass and is told the outcome.
bool FixNoise(IImage* working, IProgress* progress);
