#pragma once
// The fixed-point weighted row written once over an integer vector policy
// (filters/shared/vectors/IntegerVectors.h); SeparablePassesSse2.cpp and
// SeparablePassesAvx2.cpp instantiate it at their widths. Internal linkage, for the
// reason IntegerVectors.h gives.
//
// Each vector holds kBytes / 4 pixels, one pixel (per half) per accumulator. At 256
// bits the unpacks work within each half, so the accumulators hold pixels (0, 4),
// (1, 5), (2, 6) and (3, 7), and the packs put them back in order within each half.
// The 32-bit sums are those of WeightedRowFixedPointScalar: taps added two at a time
// instead of one, but integer sums that never overflow are exact in any order.

#include "filters/shared/gaussian/GaussianKernel.h"
#include "filters/shared/gaussian/SeparablePasses.h"
#include "filters/shared/vectors/IntegerVectors.h"

namespace {

// Sums are non-negative, so the arithmetic shift is the floor of S / 8192, and the
// packs clamp to 0..255 as the scalar row does; the fourth byte becomes 0.
template <class V>
void PixelBlock(const uint8_t* const* sources, const int32_t* weights, int taps, ptrdiff_t offset, uint8_t* out)
{
    typename V::Vector sums[4] = {V::Zero(), V::Zero(), V::Zero(), V::Zero()};
    int i = 0;
    for (; i + 1 < taps; i += 2) {
        AddWeightedBytePairs<V>(V::Load(sources[i] + offset), V::Load(sources[i + 1] + offset),
                                V::Set1(PackedWeightPair(weights[i], weights[i + 1])), sums);
    }
    if (i < taps) {
        AddWeightedBytePairs<V>(V::Load(sources[i] + offset), V::Zero(), V::Set1(PackedWeightPair(weights[i], 0)),
                                sums);
    }
    V::Store(out + offset, V::And(ShiftedToBytes<V>(sums, kKernelShift), V::Set1(0x00FFFFFF)));
}

// Rows narrower than one vector go to narrow; otherwise the last block overlaps the
// one before it, which is safe because no source is the output row.
template <class V>
void WeightedRowFixedPointVector(const uint8_t* const* sources, const int32_t* weights, int taps, uint8_t* out,
                                 int width, FixedPointRow narrow)
{
    constexpr int kPixels = V::kBytes / 4;
    if (width < kPixels) {
        narrow(sources, weights, taps, out, width);
        return;
    }
    int x = 0;
    for (; x + kPixels <= width; x += kPixels) PixelBlock<V>(sources, weights, taps, ptrdiff_t{4} * x, out);
    if (x < width) PixelBlock<V>(sources, weights, taps, ptrdiff_t{4} * (width - kPixels), out);
}

}  // namespace
