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

#include <array>
#include <utility>

namespace {

// Sums are non-negative, so the arithmetic shift is the floor of S / 8192, and the
// packs clamp to 0..255 as the scalar row does; the fourth byte becomes 0.
template <class V, int kTaps>
void PixelBlock(const uint8_t* const* sources, const int32_t* weights, int anyTaps, ptrdiff_t offset, uint8_t* out)
{
    const int taps = kTaps != 0 ? kTaps : anyTaps;
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

// Every block of a row, the last overlapping the one before it, which is safe
// because no source is the output row. kTaps is the kernel's length where known at
// compile time, 0 where not.
template <class V, int kTaps>
void BlocksOfRow(const uint8_t* const* sources, const int32_t* weights, int taps, uint8_t* out, int width)
{
    constexpr int kPixels = V::kBytes / 4;
    int x = 0;
    for (; x + kPixels <= width; x += kPixels) PixelBlock<V, kTaps>(sources, weights, taps, ptrdiff_t{4} * x, out);
    if (x < width) PixelBlock<V, kTaps>(sources, weights, taps, ptrdiff_t{4} * (width - kPixels), out);
}

// The kernels' lengths, 1 to 41 taps for sigmas up to 10, each with a loop compiled
// for it: the weights and tap pointers then stay in registers across the row (12 MP
// Gaussian blur, medians of four rounds: sigma 1, 5 taps, 21.6 to 18.6 ms; sigma 2.5,
// 11 taps, 32.6 to 31.9; sigma 10, 41 taps, 104.9 to 99.8).
inline constexpr int kLongestCompiledKernel = 41;

template <class V, int... kHalf>
constexpr auto CompiledRowsOf(std::integer_sequence<int, kHalf...>)
{
    return std::array<FixedPointRow, sizeof...(kHalf)>{&BlocksOfRow<V, 2 * kHalf + 1>...};
}

// Rows narrower than one vector go to narrow.
template <class V>
void WeightedRowFixedPointVector(const uint8_t* const* sources, const int32_t* weights, int taps, uint8_t* out,
                                 int width, FixedPointRow narrow)
{
    static constexpr auto kCompiled =
        CompiledRowsOf<V>(std::make_integer_sequence<int, (kLongestCompiledKernel + 1) / 2>());
    if (width < V::kBytes / 4) {
        narrow(sources, weights, taps, out, width);
    } else if (taps % 2 == 1 && taps <= kLongestCompiledKernel) {
        kCompiled[static_cast<size_t>(taps / 2)](sources, weights, taps, out, width);
    } else {
        BlocksOfRow<V, 0>(sources, weights, taps, out, width);
    }
}

}  // namespace
