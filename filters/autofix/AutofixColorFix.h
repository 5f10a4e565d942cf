#pragma once
// The colour fix: the colour-cast detection's three gains, when any differs from 1,
// are applied as one table per channel.

#include "host/HostInterfaces.h"

// progress (may be null) gets the detection and the mapping as two passes and is
// told the outcome. A detection that fails (no pixel it can judge) fails the fix; one
// that finds no cast leaves the image as it is.
bool FixColorCast(IImage* working, IProgress* progress);
