#pragma once
// The last step of the unsharp mask: each channel moves away from its blurred value
// by a fraction of the difference, unless the difference is within the noise
// threshold. Free of interfaces.

#include "filters/shared/gaussian/SeparablePasses.h"

#include <array>
#include <cstdint>

// The merged value of every (original, blurred) pair of channel bytes, indexed by
// original * 256 + blurred. With d = original - blurred:
// - fixed point: d counts only when 2|d| > threshold; original + floor(d * a / 32)
//   with a = trunc(amount * 32) (held to +-2^20), saturated;
// - portable: d counts only when 2|d| >= threshold; original + trunc(d * amount)
//   in double precision, clamped.
using MergeTable = std::array<uint8_t, 256 * 256>;
MergeTable BuildMergeTable(double amount, int threshold, BlurPath path);

// Whether the merge is defined: the portable path refuses a negative threshold.
bool UnsharpMergeAccepts(int threshold, BlurPath path);

// The merge of whole rows for BlurPicture, out = merge(original, blurred) per pixel.
// The fixed-point path merges all four bytes, in vector arithmetic where the
// processor and the amount allow; the portable one merges blue, green and red and
// keeps the blurred fourth byte.
BlurredRowMerge UnsharpRowMerge(double amount, int threshold, BlurPath path);

// The fixed-point merge of width pixels (all four bytes) by the table's rule, with
// a = amount32. The scalar row defines it; the Sse2 and Avx2 rows give its bytes for
// a in -32768 .. 32767 and may only run where the processor has the instructions.
using FixedPointMergeRow = void (*)(const uint8_t* original, const uint8_t* blurred, uint8_t* out, int width,
                                    int amount32, int threshold);
void MergeRowFixedPointScalar(const uint8_t* original, const uint8_t* blurred, uint8_t* out, int width, int amount32,
                              int threshold);
void MergeRowFixedPointSse2(const uint8_t* original, const uint8_t* blurred, uint8_t* out, int width, int amount32,
                            int threshold);
void MergeRowFixedPointAvx2(const uint8_t* original, const uint8_t* blurred, uint8_t* out, int width, int amount32,
                            int threshold);

// The a of the fixed-point rule for amount.
int FixedPointAmount(double amount);
