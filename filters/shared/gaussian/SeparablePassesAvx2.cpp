#include "filters/shared/gaussian/SeparablePasses.h"

#include "filters/shared/gaussian/GaussianKernel.h"

#include <immintrin.h>

namespace {

// As the SSE2 row, eight pixels at a time. The byte and word unpacks work within
// each 128-bit half, so the accumulators hold pixels (0, 4), (1, 5), (2, 6) and
// (3, 7), and the packs put them back in order within each half.
__m256i WeightPair(int32_t first, int32_t second)
{
    return _mm256_set1_epi32(static_cast<int32_t>(static_cast<uint32_t>(second) << 16 | static_cast<uint32_t>(first)));
}

__m256i Load(const uint8_t* pixels)
{
    return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(pixels));
}

void AccumulatePair(__m256i a, __m256i b, __m256i weights, __m256i (&sums)[4])
{
    const __m256i zero = _mm256_setzero_si256();
    const __m256i aLow = _mm256_unpacklo_epi8(a, zero);
    const __m256i aHigh = _mm256_unpackhi_epi8(a, zero);
    const __m256i bLow = _mm256_unpacklo_epi8(b, zero);
    const __m256i bHigh = _mm256_unpackhi_epi8(b, zero);
    sums[0] = _mm256_add_epi32(sums[0], _mm256_madd_epi16(_mm256_unpacklo_epi16(aLow, bLow), weights));
    sums[1] = _mm256_add_epi32(sums[1], _mm256_madd_epi16(_mm256_unpackhi_epi16(aLow, bLow), weights));
    sums[2] = _mm256_add_epi32(sums[2], _mm256_madd_epi16(_mm256_unpacklo_epi16(aHigh, bHigh), weights));
    sums[3] = _mm256_add_epi32(sums[3], _mm256_madd_epi16(_mm256_unpackhi_epi16(aHigh, bHigh), weights));
}

__m256i PackSums(__m256i (&sums)[4])
{
    for (__m256i& sum : sums) sum = _mm256_srai_epi32(sum, kKernelShift);
    const __m256i words =
        _mm256_packus_epi16(_mm256_packs_epi32(sums[0], sums[1]), _mm256_packs_epi32(sums[2], sums[3]));
    return _mm256_and_si256(words, _mm256_set1_epi32(0x00FFFFFF));
}

void EightPixels(const uint8_t* const* sources, const int32_t* weights, int taps, ptrdiff_t offset, uint8_t* out)
{
    __m256i sums[4] = {_mm256_setzero_si256(), _mm256_setzero_si256(), _mm256_setzero_si256(),
                       _mm256_setzero_si256()};
    int i = 0;
    for (; i + 1 < taps; i += 2) {
        AccumulatePair(Load(sources[i] + offset), Load(sources[i + 1] + offset), WeightPair(weights[i], weights[i + 1]),
                       sums);
    }
    if (i < taps) AccumulatePair(Load(sources[i] + offset), _mm256_setzero_si256(), WeightPair(weights[i], 0), sums);
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + offset), PackSums(sums));
}

} // namespace

void WeightedRowFixedPointAvx2(const uint8_t* const* sources, const int32_t* weights, int taps, uint8_t* out,
                               int width)
{
    if (width < 8) {
        WeightedRowFixedPoint(sources, weights, taps, out, width);
        return;
    }
    int x = 0;
    for (; x + 8 <= width; x += 8) EightPixels(sources, weights, taps, ptrdiff_t{4} * x, out);
    // The last eight again, overlapping: the inputs are never the output row.
    if (x < width) EightPixels(sources, weights, taps, ptrdiff_t{4} * (width - 8), out);
}
