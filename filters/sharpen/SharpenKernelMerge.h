#pragma once
// The last step of the unsharp mask: each channel moves away from its blurred value
// by a fraction of the difference, unless the difference is within the noise
// threshold. Free of interfaces.

#include "filters/shared/pixels/PixelRows.h"
#include "filters/shared/gaussian/SeparablePasses.h"

#include <array>
#include <cstdint>

// The merged value of every (original, blurred) pair of channel bytes, indexed by
// original * 256 + blurred. With d = original - blurred:
// - fixed point: d counts only when 2|d| > threshold; original + floor(d * a / 32)
//   with a = trunc(amount * 32), saturated;
// - portable: d counts only when 2|d| >= threshold; original + trunc(d * amount)
//   in double precision, clamped.
using MergeTable = std::array<uint8_t, 256 * 256>;
MergeTable BuildMergeTable(double amount, int threshold, BlurPath path);

// Replaces every pixel of blurred (of the original's size) by the merge of the
// original over it. The fixed-point path merges all four bytes; the portable one
// merges blue, green and red and keeps the blurred fourth byte. Reports once per row.
// False when report stops it, or on the portable path for a negative threshold.
bool MergeUnsharp(const PixelRows& original, const PixelRows& blurred, double amount, int threshold, BlurPath path,
                  const UnitReport& report);
