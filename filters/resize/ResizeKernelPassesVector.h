#pragma once
// The resampler's vector passes written once over an integer vector policy
// (filters/shared/vectors/IntegerVectors.h); ResizeKernelPassesSse2.cpp and
// ResizeKernelPassesAvx2.cpp instantiate them at their widths. Products are summed
// in 32 bits exactly as the portable loops sum them, two taps per multiply-add, so
// every byte is the same; the packs at the end saturate only what the clamp would
// clamp. Internal linkage, for the reason IntegerVectors.h gives.

#include "filters/resize/ResizeKernelPasses.h"
#include "filters/shared/vectors/IntegerVectors.h"

#include <algorithm>

namespace {

// One vector of bytes of the line at a time, taps two by two, the rounding term in
// the sums from the start; the bytes left over go to rest, a narrower variant.
template <class V>
void FilterColumnsVector(const uint8_t* top, size_t stride, const int16_t* weights, int taps, uint8_t* out,
                         size_t bytes, VerticalFilter rest)
{
    size_t b = 0;
    for (; b + V::kBytes <= bytes; b += V::kBytes) {
        const auto rounding = V::Set1(64);
        typename V::Vector sums[4] = {rounding, rounding, rounding, rounding};
        const uint8_t* row = top + b;
        for (int t = 0; t < taps; t += 2, row += 2 * stride) {
            AddWeightedBytePairs<V>(V::Load(row), V::Load(row + stride),
                                    V::Set1(PackedWeightPair(weights + t)), sums);
        }
        V::Store(out + b, ShiftedToBytes<V>(sums, 7));
    }
    rest(top + b, stride, weights, taps, out + b, bytes - b);
}

// In each half, its two lowest pixels channel by channel side by side as 16-bit
// words: b0 b1 g0 g1 r0 r1 a0 a1.
template <class V>
typename V::Vector InterleavePixelPairs(typename V::Vector pixels)
{
    return V::UnpackLow8(V::UnpackLow8(pixels, V::template ShiftBytesRight<4>(pixels)), V::Zero());
}

// The horizontal pass of 32-bit pixels, one destination pixel per 128-bit half:
// each half multiplies its pixel's taps pairwise by its own weight pairs. A last
// group with fewer pixels than halves repeats its last pixel, computed again and
// stored once.
template <class V>
void FilterLine32Vector(const uint8_t* line, const int16_t* table, int taps, uint32_t numerator,
                        uint32_t denominator, uint8_t* out, uint32_t width)
{
    constexpr int kPixels = V::kHalves;
    ResizeStep step(numerator, denominator);
    for (uint32_t k = 0; k < width; k += kPixels) {
        const int count = static_cast<int>(std::min<uint32_t>(kPixels, width - k));
        const uint8_t* pixels[kPixels];
        const uint8_t* weights[kPixels];
        for (int p = 0; p < kPixels; ++p) {
            if (p < count) {
                pixels[p] = line + step.position * 4;
                weights[p] = reinterpret_cast<const uint8_t*>(table + static_cast<size_t>(step.phase) * taps);
                step.Advance();
            } else {
                pixels[p] = pixels[p - 1];
                weights[p] = weights[p - 1];
            }
        }
        auto sum = V::Set1(64);
        int t = 0;
        for (; t + 4 <= taps; t += 4) {
            const auto four = V::LoadHalves(pixels, static_cast<size_t>(t) * 4);
            const auto pairs = V::LoadHalvesLow64(weights, static_cast<size_t>(t) * 2);
            sum = V::Add32(sum, V::MulAdd16(InterleavePixelPairs<V>(four), V::template Shuffle32<0x00>(pairs)));
            sum = V::Add32(sum, V::MulAdd16(InterleavePixelPairs<V>(V::template ShiftBytesRight<8>(four)),
                                            V::template Shuffle32<0x55>(pairs)));
        }
        if (t < taps) {
            int32_t lastPairs[kPixels];
            for (int p = 0; p < kPixels; ++p) {
                lastPairs[p] = PackedWeightPair(reinterpret_cast<const int16_t*>(weights[p]) + t);
            }
            const auto two = V::LoadHalvesLow64(pixels, static_cast<size_t>(t) * 4);
            sum = V::Add32(sum, V::MulAdd16(InterleavePixelPairs<V>(two), V::Set1Halves(lastPairs)));
        }
        const auto shifted = V::ShiftRight32(sum, 7);
        const auto words = V::PackSigned32(shifted, shifted);
        V::StoreLow32OfHalves(V::PackUnsigned16(words, words), out + static_cast<size_t>(k) * 4, count);
    }
}

}  // namespace
