#pragma once
// The fixed-point unsharp merge written once over an integer vector policy
// (filters/shared/vectors/IntegerVectors.h); SharpenKernelMergeSse2.cpp and
// SharpenKernelMergeAvx2.cpp instantiate it at their widths. Internal linkage, for
// the reason IntegerVectors.h gives.
//
// original + floor(d * a / 32) is floor((d * a + 32 * original) / 32): one
// multiply-add of the pair (d, original) by (a, 32) in each 32-bit lane, an
// arithmetic shift, and the packs' saturation to 0 .. 255. Every lane stays within
// its 128-bit half, so both widths give the scalar row's bytes.

#include "filters/sharpen/SharpenKernelMerge.h"
#include "filters/shared/vectors/IntegerVectors.h"

#include <algorithm>

namespace {

template <class V>
struct MergeConstants {
    typename V::Vector amountPair;
    typename V::Vector threshold;
};

// 2|d| lies in 0 .. 510, so thresholds beyond -1 .. 510 decide like those ends.
template <class V>
MergeConstants<V> MakeMergeConstants(int amount32, int threshold)
{
    const auto low16 = [](int value) { return static_cast<uint32_t>(static_cast<uint16_t>(value)); };
    const int held = std::clamp(threshold, -1, 510);
    return {V::Set1(static_cast<int32_t>(low16(amount32) | low16(32) << 16)),
            V::Set1(static_cast<int32_t>(low16(held) | low16(held) << 16))};
}

// Eight bytes (per half) of the original and the blurred, widened to 16 bits.
template <class V>
typename V::Vector MergedWords(typename V::Vector original, typename V::Vector blurred,
                               const MergeConstants<V>& constants)
{
    const auto zero = V::Zero();
    const auto twice = V::Add16(V::Sub16(original, blurred), V::Sub16(original, blurred));
    const auto difference = V::And(V::Sub16(original, blurred),
                                   V::Greater16(V::Max16(twice, V::Sub16(zero, twice)), constants.threshold));
    const auto low = V::ShiftRight32(V::MulAdd16(V::UnpackLow16(difference, original), constants.amountPair), 5);
    const auto high = V::ShiftRight32(V::MulAdd16(V::UnpackHigh16(difference, original), constants.amountPair), 5);
    return V::PackSigned32(low, high);
}

template <class V>
void MergeBlock(const uint8_t* original, const uint8_t* blurred, uint8_t* out, const MergeConstants<V>& constants)
{
    const auto zero = V::Zero();
    const auto o = V::Load(original);
    const auto b = V::Load(blurred);
    const auto first = MergedWords<V>(V::UnpackLow8(o, zero), V::UnpackLow8(b, zero), constants);
    const auto second = MergedWords<V>(V::UnpackHigh8(o, zero), V::UnpackHigh8(b, zero), constants);
    V::Store(out, V::PackUnsigned16(first, second));
}

// Rows narrower than one vector go to narrow; otherwise the last block overlaps the
// one before it, which is safe because out is neither input row.
template <class V>
void MergeRowFixedPointVector(const uint8_t* original, const uint8_t* blurred, uint8_t* out, int width, int amount32,
                              int threshold, FixedPointMergeRow narrow)
{
    const ptrdiff_t bytes = ptrdiff_t{4} * width;
    if (bytes < V::kBytes) {
        narrow(original, blurred, out, width, amount32, threshold);
        return;
    }
    const MergeConstants<V> constants = MakeMergeConstants<V>(amount32, threshold);
    ptrdiff_t i = 0;
    for (; i + V::kBytes <= bytes; i += V::kBytes) MergeBlock<V>(original + i, blurred + i, out + i, constants);
    if (i < bytes) {
        i = bytes - V::kBytes;
        MergeBlock<V>(original + i, blurred + i, out + i, constants);
    }
}

}  // namespace
