// Vignetting's loops four factors and eight pixels at a time. Vector square roots,
// subtractions, products and conversions round as the scalar ones do (and the build
// fuses no multiply into an add), so every lane gives the portable loop's bits; the
// clamp becomes a max and a min, which agree with it on the numbers that reach it.

#include "filters/vignetting/VignettingKernel.h"

#include <immintrin.h>

namespace {

void FactorsAvx2(const double* uSquares, double vSquare, double* factors, int count)
{
    const __m256d vSquares = _mm256_set1_pd(vSquare);
    const __m256d one = _mm256_set1_pd(1.0);
    const __m256d zero = _mm256_setzero_pd();
    int i = 0;
    for (; i + 4 <= count; i += 4) {
        const __m256d r = _mm256_sqrt_pd(_mm256_add_pd(_mm256_loadu_pd(uSquares + i), vSquares));
        const __m256d t = _mm256_min_pd(_mm256_max_pd(_mm256_sub_pd(one, r), zero), one);
        _mm256_storeu_pd(factors + i, _mm256_sqrt_pd(t));
    }
    kPortableVignetteLoops.factors(uSquares + i, vSquare, factors + i, count - i);
}

// Eight pixels, the first four scaled by firstFactors, the others by lastFactors.
__m256i ScaledBlock(__m256i pixels, __m256d firstFactors, __m256d lastFactors)
{
    const __m256i byteMask = _mm256_set1_epi32(0xFF);
    __m256i scaled = _mm256_setzero_si256();
    for (const int shift : {0, 8, 16}) {
        const __m256i channel = _mm256_and_si256(_mm256_srli_epi32(pixels, shift), byteMask);
        const __m128i first =
            _mm256_cvttpd_epi32(_mm256_mul_pd(_mm256_cvtepi32_pd(_mm256_castsi256_si128(channel)), firstFactors));
        const __m128i last =
            _mm256_cvttpd_epi32(_mm256_mul_pd(_mm256_cvtepi32_pd(_mm256_extracti128_si256(channel, 1)), lastFactors));
        scaled = _mm256_or_si256(scaled, _mm256_slli_epi32(_mm256_set_m128i(last, first), shift));
    }
    return scaled;
}

void ScaleAvx2(uint32_t* pixels, const double* factors, int count)
{
    int i = 0;
    for (; i + 8 <= count; i += 8) {
        auto* at = reinterpret_cast<__m256i*>(pixels + i);
        _mm256_storeu_si256(
            at, ScaledBlock(_mm256_loadu_si256(at), _mm256_loadu_pd(factors + i), _mm256_loadu_pd(factors + i + 4)));
    }
    kPortableVignetteLoops.scale(pixels + i, factors + i, count - i);
}

// Pixels i .. i + 7 take factors[count - 1 - i] down to factors[count - 8 - i]: the
// two loads of four, each reversed, in swapped order.
void ScaleMirroredAvx2(uint32_t* pixels, const double* factors, int count)
{
    constexpr int kReversed = 0x1B;
    int i = 0;
    for (; i + 8 <= count; i += 8) {
        const double* lowest = factors + (count - 8 - i);
        const __m256d first = _mm256_permute4x64_pd(_mm256_loadu_pd(lowest + 4), kReversed);
        const __m256d last = _mm256_permute4x64_pd(_mm256_loadu_pd(lowest), kReversed);
        auto* at = reinterpret_cast<__m256i*>(pixels + i);
        _mm256_storeu_si256(at, ScaledBlock(_mm256_loadu_si256(at), first, last));
    }
    kPortableVignetteLoops.scaleMirrored(pixels + i, factors, count - i);
}

} // namespace

const VignetteLoops kAvx2VignetteLoops{&FactorsAvx2, &ScaleAvx2, &ScaleMirroredAvx2};
