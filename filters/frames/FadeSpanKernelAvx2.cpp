// The fading frame's blend four pixels at a time, in double as the pixel rule: each
// channel's product with its column's share plus the colour's part, the same two
// roundings as the scalar sum, then held in 0 .. 255 before the truncation where a
// share lies outside 0 .. 1 (a max against 0 first, so NaN becomes 0 as in the
// scalar rule).

#include "filters/frames/FadeSpanKernel.h"

#include <immintrin.h>

namespace {

// One byte of each pixel (kShift 16, 8 or 0) as doubles, picked with one shuffle.
template <int kShift>
__m256d ChannelOf(__m128i pixels)
{
    constexpr char at = kShift / 8;
    constexpr char none = -128;
    const __m128i pick = _mm_setr_epi8(at, none, none, none, at + 4, none, none, none, at + 8, none, none, none,
                                       at + 12, none, none, none);
    return _mm256_cvtepi32_pd(_mm_shuffle_epi8(pixels, pick));
}

// Shares within 0 .. 1 keep every sum within 0 .. 255 (up to the last bit, which the
// truncation drops), so the hold is left out for them.
template <int kShift, bool kHold>
__m128i Level(__m256d sum)
{
    if constexpr (kHold) sum = _mm256_min_pd(_mm256_max_pd(sum, _mm256_setzero_pd()), _mm256_set1_pd(255.0));
    return _mm_slli_epi32(_mm256_cvttpd_epi32(sum), kShift);
}

// Each column's share and colour parts, read four columns at a time.
struct ColumnShares {
    const ColumnFades& fades;
    int first;

    __m256d Weight(int i) const { return _mm256_loadu_pd(fades.weights.data() + first + i); }
    __m256d Red(int i) const { return _mm256_loadu_pd(fades.red.data() + first + i); }
    __m256d Green(int i) const { return _mm256_loadu_pd(fades.green.data() + first + i); }
    __m256d Blue(int i) const { return _mm256_loadu_pd(fades.blue.data() + first + i); }
    void Rest(uint32_t* pixels, int count, int i) const { FadeSpanPortable(pixels, count, fades, first + i); }
};

// One share and one colour part for every pixel.
struct RowShare {
    const RowFade& fade;

    __m256d Weight(int) const { return _mm256_set1_pd(fade.weight); }
    __m256d Red(int) const { return _mm256_set1_pd(fade.colorPart.red); }
    __m256d Green(int) const { return _mm256_set1_pd(fade.colorPart.green); }
    __m256d Blue(int) const { return _mm256_set1_pd(fade.colorPart.blue); }
    void Rest(uint32_t* pixels, int count, int) const { FadeRowPortable(pixels, count, fade); }
};

template <bool kHold, class Shares>
void FadeSpan(uint32_t* pixels, int count, const Shares& shares)
{
    int i = 0;
    for (; i + 4 <= count; i += 4) {
        const __m128i source = _mm_loadu_si128(reinterpret_cast<const __m128i*>(pixels + i));
        const __m256d weight = shares.Weight(i);
        const __m256d r = _mm256_add_pd(_mm256_mul_pd(ChannelOf<16>(source), weight), shares.Red(i));
        const __m256d g = _mm256_add_pd(_mm256_mul_pd(ChannelOf<8>(source), weight), shares.Green(i));
        const __m256d b = _mm256_add_pd(_mm256_mul_pd(ChannelOf<0>(source), weight), shares.Blue(i));
        const __m128i faded =
            _mm_or_si128(_mm_or_si128(Level<16, kHold>(r), Level<8, kHold>(g)), Level<0, kHold>(b));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(pixels + i), faded);
    }
    shares.Rest(pixels + i, count - i, i);
}

} // namespace

void FadeSpanAvx2(uint32_t* pixels, int count, const ColumnFades& fades, int first)
{
    if (fades.sharesWithinOne) {
        FadeSpan<false>(pixels, count, ColumnShares{fades, first});
    } else {
        FadeSpan<true>(pixels, count, ColumnShares{fades, first});
    }
}

void FadeRowAvx2(uint32_t* pixels, int count, const RowFade& fade)
{
    if (fade.shareWithinOne) {
        FadeSpan<false>(pixels, count, RowShare{fade});
    } else {
        FadeSpan<true>(pixels, count, RowShare{fade});
    }
}
