// The side bands' blend four pixels at a time, in double as the pixel rule: each
// channel's product with its column's share plus the colour's part, the same two
// roundings as the scalar sum, then held in 0 .. 255 before the truncation (a max
// against 0 first, so NaN becomes 0 as in the scalar rule).

#include "filters/frames/FadeSpanKernel.h"

#include <immintrin.h>

namespace {

__m256d ChannelOf(__m128i pixels, int shift)
{
    return _mm256_cvtepi32_pd(_mm_and_si128(_mm_srli_epi32(pixels, shift), _mm_set1_epi32(0xFF)));
}

__m128i Level(__m256d sum, int shift)
{
    const __m256d held = _mm256_min_pd(_mm256_max_pd(sum, _mm256_setzero_pd()), _mm256_set1_pd(255.0));
    return _mm_slli_epi32(_mm256_cvttpd_epi32(held), shift);
}

} // namespace

void FadeSpanAvx2(uint32_t* pixels, int count, const ColumnFades& fades, int first)
{
    const double* weights = fades.weights.data() + first;
    const double* red = fades.red.data() + first;
    const double* green = fades.green.data() + first;
    const double* blue = fades.blue.data() + first;
    int i = 0;
    for (; i + 4 <= count; i += 4) {
        const __m128i source = _mm_loadu_si128(reinterpret_cast<const __m128i*>(pixels + i));
        const __m256d weight = _mm256_loadu_pd(weights + i);
        const __m256d r = _mm256_add_pd(_mm256_mul_pd(ChannelOf(source, 16), weight), _mm256_loadu_pd(red + i));
        const __m256d g = _mm256_add_pd(_mm256_mul_pd(ChannelOf(source, 8), weight), _mm256_loadu_pd(green + i));
        const __m256d b = _mm256_add_pd(_mm256_mul_pd(ChannelOf(source, 0), weight), _mm256_loadu_pd(blue + i));
        const __m128i faded = _mm_or_si128(_mm_or_si128(Level(r, 16), Level(g, 8)), Level(b, 0));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(pixels + i), faded);
    }
    FadeSpanPortable(pixels + i, count - i, fades, first + i);
}
