// The resampler's passes with 128-bit integer vectors. Products are summed in 32
// bits exactly as the portable loops sum them, two taps per multiply-add, so every
// byte is the same; the packs at the end saturate only what the clamp would clamp.

#include "filters/resize/ResizeKernelPasses.h"

#include <emmintrin.h>

#include <cstring>

namespace {

// Two neighbouring weights side by side in every 32-bit lane, for _mm_madd_epi16.
__m128i WeightPair(const int16_t* weights)
{
    const uint32_t low = static_cast<uint16_t>(weights[0]);
    const uint32_t high = static_cast<uint16_t>(weights[1]);
    return _mm_set1_epi32(static_cast<int>(low | (high << 16)));
}

// Eight 32-bit sums that already hold the rounding term, shifted into 16-bit words;
// packing the words into bytes then clamps them to 0 .. 255.
__m128i ShiftedWords(__m128i first, __m128i second)
{
    return _mm_packs_epi32(_mm_srai_epi32(first, 7), _mm_srai_epi32(second, 7));
}

// The two pixels at the bottom of pixels, channel by channel side by side as 16-bit
// words: b0 b1 g0 g1 r0 r1 a0 a1.
__m128i InterleavePixelPair(__m128i pixels)
{
    return _mm_unpacklo_epi8(_mm_unpacklo_epi8(pixels, _mm_srli_si128(pixels, 4)), _mm_setzero_si128());
}

void FilterLine32Sse2(const uint8_t* line, const int16_t* table, int taps, uint32_t numerator, uint32_t denominator,
                      uint8_t* out, uint32_t width)
{
    ResizeStep step(numerator, denominator);
    for (uint32_t k = 0; k < width; ++k, out += 4) {
        const int16_t* weights = table + static_cast<size_t>(step.phase) * taps;
        const uint8_t* first = line + step.position * 4;
        __m128i sum = _mm_set1_epi32(64);
        int t = 0;
        for (; t + 4 <= taps; t += 4) {
            const __m128i four = _mm_loadu_si128(reinterpret_cast<const __m128i*>(first + t * 4));
            const __m128i pairs = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(weights + t));
            sum = _mm_add_epi32(sum, _mm_madd_epi16(InterleavePixelPair(four), _mm_shuffle_epi32(pairs, 0x00)));
            sum = _mm_add_epi32(
                sum, _mm_madd_epi16(InterleavePixelPair(_mm_srli_si128(four, 8)), _mm_shuffle_epi32(pairs, 0x55)));
        }
        if (t < taps) {
            const __m128i two = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(first + t * 4));
            sum = _mm_add_epi32(sum, _mm_madd_epi16(InterleavePixelPair(two), WeightPair(weights + t)));
        }
        const __m128i words = ShiftedWords(sum, sum);
        const int pixel = _mm_cvtsi128_si32(_mm_packus_epi16(words, words));
        std::memcpy(out, &pixel, 4);
        step.Advance();
    }
}

int32_t HorizontalSum(__m128i sums)
{
    sums = _mm_add_epi32(sums, _mm_srli_si128(sums, 8));
    sums = _mm_add_epi32(sums, _mm_srli_si128(sums, 4));
    return _mm_cvtsi128_si32(sums);
}

// Single channels gain only where a pixel has many taps: eight at a time, the rest
// one by one.
void FilterLine8Sse2(const uint8_t* line, const int16_t* table, int taps, uint32_t numerator, uint32_t denominator,
                     uint8_t* out, uint32_t width)
{
    ResizeStep step(numerator, denominator);
    const __m128i zero = _mm_setzero_si128();
    for (uint32_t k = 0; k < width; ++k) {
        const int16_t* weights = table + static_cast<size_t>(step.phase) * taps;
        const uint8_t* first = line + step.position;
        __m128i sums = _mm_setzero_si128();
        int t = 0;
        for (; t + 8 <= taps; t += 8) {
            const __m128i bytes = _mm_unpacklo_epi8(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(first + t)), zero);
            sums = _mm_add_epi32(sums,
                                 _mm_madd_epi16(bytes, _mm_loadu_si128(reinterpret_cast<const __m128i*>(weights + t))));
        }
        int32_t sum = HorizontalSum(sums);
        for (; t < taps; ++t) sum += weights[t] * first[t];
        out[k] = RoundedByte(sum);
        step.Advance();
    }
}

// Sixteen bytes of two rows, byte b of each side by side, weighted by their pair.
void AddRowPair(__m128i upper, __m128i lower, __m128i pair, __m128i sums[4])
{
    const __m128i zero = _mm_setzero_si128();
    const __m128i low = _mm_unpacklo_epi8(upper, lower);
    const __m128i high = _mm_unpackhi_epi8(upper, lower);
    sums[0] = _mm_add_epi32(sums[0], _mm_madd_epi16(_mm_unpacklo_epi8(low, zero), pair));
    sums[1] = _mm_add_epi32(sums[1], _mm_madd_epi16(_mm_unpackhi_epi8(low, zero), pair));
    sums[2] = _mm_add_epi32(sums[2], _mm_madd_epi16(_mm_unpacklo_epi8(high, zero), pair));
    sums[3] = _mm_add_epi32(sums[3], _mm_madd_epi16(_mm_unpackhi_epi8(high, zero), pair));
}

}  // namespace

void FilterColumnsSse2(const uint8_t* top, size_t stride, const int16_t* weights, int taps, uint8_t* out, size_t bytes)
{
    size_t b = 0;
    for (; b + 16 <= bytes; b += 16) {
        const __m128i rounding = _mm_set1_epi32(64);
        __m128i sums[4] = {rounding, rounding, rounding, rounding};
        const uint8_t* row = top + b;
        for (int t = 0; t < taps; t += 2, row += 2 * stride) {
            const __m128i upper = _mm_loadu_si128(reinterpret_cast<const __m128i*>(row));
            const __m128i lower = _mm_loadu_si128(reinterpret_cast<const __m128i*>(row + stride));
            AddRowPair(upper, lower, WeightPair(weights + t), sums);
        }
        const __m128i bytes16 = _mm_packus_epi16(ShiftedWords(sums[0], sums[1]), ShiftedWords(sums[2], sums[3]));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + b), bytes16);
    }
    FilterColumnsPortable(top + b, stride, weights, taps, out + b, bytes - b);
}

ResizePasses Sse2ResizePasses(int bitsPerPixel)
{
    return {&FilterColumnsSse2, bitsPerPixel == 8 ? &FilterLine8Sse2 : &FilterLine32Sse2};
}
