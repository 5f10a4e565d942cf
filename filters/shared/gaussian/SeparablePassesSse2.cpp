#include "filters/shared/gaussian/SeparablePasses.h"

#include "filters/shared/gaussian/GaussianKernel.h"

#include <emmintrin.h>

#include <algorithm>

namespace {

// Two taps' weights side by side in every 32-bit lane, for _mm_madd_epi16 on
// interleaved pairs of 16-bit channel values: one multiply-add covers two taps.
__m128i WeightPair(int32_t first, int32_t second)
{
    return _mm_set1_epi32(static_cast<int32_t>(static_cast<uint32_t>(second) << 16 | static_cast<uint32_t>(first)));
}

__m128i Load(const uint8_t* pixels)
{
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(pixels));
}

// Adds first * a + second * b, channel by channel, for four pixels whose sums are
// kept one pixel per accumulator.
void AccumulatePair(__m128i a, __m128i b, __m128i weights, __m128i (&sums)[4])
{
    const __m128i zero = _mm_setzero_si128();
    const __m128i aLow = _mm_unpacklo_epi8(a, zero);
    const __m128i aHigh = _mm_unpackhi_epi8(a, zero);
    const __m128i bLow = _mm_unpacklo_epi8(b, zero);
    const __m128i bHigh = _mm_unpackhi_epi8(b, zero);
    sums[0] = _mm_add_epi32(sums[0], _mm_madd_epi16(_mm_unpacklo_epi16(aLow, bLow), weights));
    sums[1] = _mm_add_epi32(sums[1], _mm_madd_epi16(_mm_unpackhi_epi16(aLow, bLow), weights));
    sums[2] = _mm_add_epi32(sums[2], _mm_madd_epi16(_mm_unpacklo_epi16(aHigh, bHigh), weights));
    sums[3] = _mm_add_epi32(sums[3], _mm_madd_epi16(_mm_unpackhi_epi16(aHigh, bHigh), weights));
}

// Sums are non-negative, so the arithmetic shift is the floor of S / 8192.
__m128i PackSums(__m128i (&sums)[4])
{
    for (__m128i& sum : sums) sum = _mm_srai_epi32(sum, kKernelShift);
    const __m128i words = _mm_packus_epi16(_mm_packs_epi32(sums[0], sums[1]), _mm_packs_epi32(sums[2], sums[3]));
    return _mm_and_si128(words, _mm_set1_epi32(0x00FFFFFF));
}

void FourPixels(const uint8_t* const* sources, const int32_t* weights, int taps, ptrdiff_t offset, uint8_t* out)
{
    __m128i sums[4] = {_mm_setzero_si128(), _mm_setzero_si128(), _mm_setzero_si128(), _mm_setzero_si128()};
    int i = 0;
    for (; i + 1 < taps; i += 2) {
        AccumulatePair(Load(sources[i] + offset), Load(sources[i + 1] + offset), WeightPair(weights[i], weights[i + 1]),
                       sums);
    }
    if (i < taps) AccumulatePair(Load(sources[i] + offset), _mm_setzero_si128(), WeightPair(weights[i], 0), sums);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + offset), PackSums(sums));
}

void OnePixel(const uint8_t* const* sources, const int32_t* weights, int taps, ptrdiff_t offset, uint8_t* out)
{
    for (int channel = 0; channel < 3; ++channel) {
        int32_t sum = 0;
        for (int i = 0; i < taps; ++i) sum += weights[i] * sources[i][offset + channel];
        out[offset + channel] = static_cast<uint8_t>(std::min(sum >> kKernelShift, 255));
    }
    out[offset + 3] = 0;
}

} // namespace

void WeightedRowFixedPoint(const uint8_t* const* sources, const int32_t* weights, int taps, uint8_t* out, int width)
{
    int x = 0;
    for (; x + 4 <= width; x += 4) FourPixels(sources, weights, taps, ptrdiff_t{4} * x, out);
    for (; x < width; ++x) OnePixel(sources, weights, taps, ptrdiff_t{4} * x, out);
}
