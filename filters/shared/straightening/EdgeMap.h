#pragma once
// The thin edge map: pixels whose gradient magnitude is a maximum across the edge,
// then every strong enough one marked as an edge.

#include "filters/shared/straightening/RecursiveGaussian.h"
#include "filters/shared/straightening/StageProgress.h"
#include "filters/shared/straightening/WorkingPlane.h"

#include <cstdint>

// Values of an edge map once binarised, and as the chain search marks it.
inline constexpr uint8_t kEdgePixel = 255;
inline constexpr uint8_t kGraphPixel = 100;  // taken into a graph
inline constexpr uint8_t kChainPixel = 250;  // part of an accepted chain

// Keeps, as its rounded magnitude, each pixel whose magnitude (above 0.5) is not
// exceeded by the magnitude one step forwards or backwards along its gradient, and
// zeroes every other pixel and the plane's outer rows and columns. Counts one unit
// per row; false when stopped.
bool SuppressNonMaxima(const GradientPlanes& gradient, WorkingPlane<uint8_t>& edges, StageProgress& progress);

// Edge values below threshold become 0, every other becomes kEdgePixel. Counts one
// unit per row; false when stopped.
bool BinariseEdges(WorkingPlane<uint8_t>& edges, int threshold, StageProgress& progress);
