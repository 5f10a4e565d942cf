#pragma once
// How far a photo is tilted: the dominant direction of its straight edges (horizons,
// building edges, frames), folded into one quarter turn. The free rotation's
// automatic angle and the autofix's rotation fix start from it.
//
// The angle is in radians, between -pi/4 and a little above +pi/4. In the pixel rows
// as given (x the column, y the row index, row 0 being the bottom row of a host's
// image) it is positive when near-horizontal lines have y growing with x and when
// near-vertical lines have x falling as y grows. 0.0 means no reliable tilt was
// found, and is also the answer to every failure. Both callers pass an edge padding
// of 10 and a threshold of 10.

#include "filters/shared/pixels/PixelRows.h"
#include "host/HostInterfaces.h"

inline constexpr int kStraighteningEdgePadding = 10;
inline constexpr int kStraighteningThreshold = 10;

// Reads the colour bytes of rows once and never changes them. report (when set) is
// told (done, total) before each unit of work, total being height + 2 x working
// width + 6 x working height + 98; false from it stops the detection with 0.0.
// Pictures whose working size (longer side at most 640) is 8 pixels or less on
// either axis give 0.0.
float DetectStraighteningAngle(const PixelRows& rows, const UnitReport& report, int edgePadding, int threshold);

// The same over a host's 32-bit pixel section. The progress sink (may be null) gets
// the reports, then Finish(false) for a section without description, a picture too
// small or a stop, and Finish(true) after a full run, whatever its angle.
float DetectStraighteningAngle(HBITMAP section, IProgress* progress, int edgePadding, int threshold);
