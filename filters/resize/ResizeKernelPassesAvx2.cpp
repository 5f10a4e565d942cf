// The resampler's passes with 256-bit vectors: the same 32-bit sums as the portable
// loops. The vertical pass takes thirty-two bytes of a line at a time; the horizontal
// pass two destination pixels at a time, one in each 128-bit half. Unpacking and
// packing both stay within each half, so the bytes come back in their order.

#include "filters/resize/ResizeKernelPasses.h"

#include <immintrin.h>

#include <cstring>

namespace {

int PackedPair(const int16_t* weights)
{
    const uint32_t low = static_cast<uint16_t>(weights[0]);
    const uint32_t high = static_cast<uint16_t>(weights[1]);
    return static_cast<int>(low | (high << 16));
}

// Two neighbouring weights side by side in every 32-bit lane, for _mm256_madd_epi16.
__m256i WeightPair(const int16_t* weights)
{
    return _mm256_set1_epi32(PackedPair(weights));
}

// The pair of first in the lower half, the pair of second in the upper half.
__m256i WeightPairs(const int16_t* first, const int16_t* second)
{
    return _mm256_inserti128_si256(_mm256_set1_epi32(PackedPair(first)), _mm_set1_epi32(PackedPair(second)), 1);
}

__m256i Halves(__m128i lower, __m128i upper)
{
    return _mm256_inserti128_si256(_mm256_castsi128_si256(lower), upper, 1);
}

// In each half, its two lowest pixels channel by channel side by side as 16-bit
// words: b0 b1 g0 g1 r0 r1 a0 a1.
__m256i InterleavePixelPairs(__m256i pixels)
{
    return _mm256_unpacklo_epi8(_mm256_unpacklo_epi8(pixels, _mm256_srli_si256(pixels, 4)), _mm256_setzero_si256());
}

// One destination pixel of the horizontal pass: its first source pixel and weights.
struct PixelTaps {
    const uint8_t* pixels;
    const int16_t* weights;
};

// The sums of two destination pixels, one in each half, rounding term included.
// Each half multiplies its pixels pairwise by its own pixel's weight pairs.
__m256i SumTwoPixels(PixelTaps first, PixelTaps second, int taps)
{
    __m256i sum = _mm256_set1_epi32(64);
    int t = 0;
    for (; t + 4 <= taps; t += 4) {
        const __m256i four = Halves(_mm_loadu_si128(reinterpret_cast<const __m128i*>(first.pixels + t * 4)),
                                    _mm_loadu_si128(reinterpret_cast<const __m128i*>(second.pixels + t * 4)));
        const __m256i weights = Halves(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(first.weights + t)),
                                       _mm_loadl_epi64(reinterpret_cast<const __m128i*>(second.weights + t)));
        sum = _mm256_add_epi32(sum, _mm256_madd_epi16(InterleavePixelPairs(four), _mm256_shuffle_epi32(weights, 0x00)));
        sum = _mm256_add_epi32(sum, _mm256_madd_epi16(InterleavePixelPairs(_mm256_srli_si256(four, 8)),
                                                      _mm256_shuffle_epi32(weights, 0x55)));
    }
    if (t < taps) {
        const __m256i two = Halves(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(first.pixels + t * 4)),
                                   _mm_loadl_epi64(reinterpret_cast<const __m128i*>(second.pixels + t * 4)));
        sum = _mm256_add_epi32(
            sum, _mm256_madd_epi16(InterleavePixelPairs(two), WeightPairs(first.weights + t, second.weights + t)));
    }
    return sum;
}

PixelTaps TakeNext(ResizeStep& step, const uint8_t* line, const int16_t* table, int taps)
{
    const PixelTaps pixel{line + step.position * 4, table + static_cast<size_t>(step.phase) * taps};
    step.Advance();
    return pixel;
}

// An odd last pixel is computed twice over, and stored once.
void FilterLine32Avx2(const uint8_t* line, const int16_t* table, int taps, uint32_t numerator, uint32_t denominator,
                      uint8_t* out, uint32_t width)
{
    ResizeStep step(numerator, denominator);
    for (uint32_t k = 0; k < width; k += 2) {
        const PixelTaps first = TakeNext(step, line, table, taps);
        const bool pair = k + 1 < width;
        const PixelTaps second = pair ? TakeNext(step, line, table, taps) : first;
        const __m256i sum = _mm256_srai_epi32(SumTwoPixels(first, second, taps), 7);
        const __m256i words = _mm256_packs_epi32(sum, sum);
        const __m256i bytes = _mm256_packus_epi16(words, words);
        const int lower = _mm_cvtsi128_si32(_mm256_castsi256_si128(bytes));
        std::memcpy(out + static_cast<size_t>(k) * 4, &lower, 4);
        if (pair) {
            const int upper = _mm_cvtsi128_si32(_mm256_extracti128_si256(bytes, 1));
            std::memcpy(out + static_cast<size_t>(k + 1) * 4, &upper, 4);
        }
    }
}

void AddRowPair(__m256i upper, __m256i lower, __m256i pair, __m256i sums[4])
{
    const __m256i zero = _mm256_setzero_si256();
    const __m256i low = _mm256_unpacklo_epi8(upper, lower);
    const __m256i high = _mm256_unpackhi_epi8(upper, lower);
    sums[0] = _mm256_add_epi32(sums[0], _mm256_madd_epi16(_mm256_unpacklo_epi8(low, zero), pair));
    sums[1] = _mm256_add_epi32(sums[1], _mm256_madd_epi16(_mm256_unpackhi_epi8(low, zero), pair));
    sums[2] = _mm256_add_epi32(sums[2], _mm256_madd_epi16(_mm256_unpacklo_epi8(high, zero), pair));
    sums[3] = _mm256_add_epi32(sums[3], _mm256_madd_epi16(_mm256_unpackhi_epi8(high, zero), pair));
}

__m256i PackSums(const __m256i sums[4])
{
    const __m256i first = _mm256_packs_epi32(_mm256_srai_epi32(sums[0], 7), _mm256_srai_epi32(sums[1], 7));
    const __m256i second = _mm256_packs_epi32(_mm256_srai_epi32(sums[2], 7), _mm256_srai_epi32(sums[3], 7));
    return _mm256_packus_epi16(first, second);
}

void FilterColumnsAvx2(const uint8_t* top, size_t stride, const int16_t* weights, int taps, uint8_t* out, size_t bytes)
{
    size_t b = 0;
    for (; b + 32 <= bytes; b += 32) {
        const __m256i rounding = _mm256_set1_epi32(64);
        __m256i sums[4] = {rounding, rounding, rounding, rounding};
        const uint8_t* row = top + b;
        for (int t = 0; t < taps; t += 2, row += 2 * stride) {
            const __m256i upper = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(row));
            const __m256i lower = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(row + stride));
            AddRowPair(upper, lower, WeightPair(weights + t), sums);
        }
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + b), PackSums(sums));
    }
    FilterColumnsSse2(top + b, stride, weights, taps, out + b, bytes - b);
}

}  // namespace

ResizePasses Avx2ResizePasses(int bitsPerPixel)
{
    return {&FilterColumnsAvx2, bitsPerPixel == 8 ? Sse2ResizePasses(8).horizontal : &FilterLine32Avx2};
}
