// Lens distortion four pixels at a time. Every lane runs the portable loop's
// operations in its order (products, sums, quotients and roots round as the scalar
// ones, the build fuses no multiply into an add), so it gives the same bits: the
// floor of a point inside the picture is the scalar one, the clamp becomes a max and
// a min, which agree with it on the sums that reach them, and the rounding adds and
// takes away 2^52 as the scalar loop does. The four neighbours are gathered, each
// lane's read masked off where the neighbour lies outside.

#include "filters/lens-distort/LensDistortKernel.h"

#include <immintrin.h>

#include <limits>

namespace {

constexpr int kLanes = 4;

struct Neighbours {
    __m128i x0;
    __m128i y0;
    __m128i inside;  // lanes whose point reads at least one pixel
};

// The pixels at (x, y) of the lanes in use, 0 where a neighbour lies outside.
__m128i Gathered(const PixelRows& source, __m128i x, __m128i y, __m128i use)
{
    const __m128i minusOne = _mm_set1_epi32(-1);
    const __m128i inX = _mm_and_si128(_mm_cmpgt_epi32(x, minusOne), _mm_cmpgt_epi32(_mm_set1_epi32(source.width), x));
    const __m128i inY = _mm_and_si128(_mm_cmpgt_epi32(y, minusOne), _mm_cmpgt_epi32(_mm_set1_epi32(source.height), y));
    const __m128i mask = _mm_and_si128(use, _mm_and_si128(inX, inY));
    const __m128i offsets = _mm_and_si128(
        mask, _mm_add_epi32(_mm_mullo_epi32(y, _mm_set1_epi32(static_cast<int>(source.stride))), _mm_slli_epi32(x, 2)));
    return _mm_mask_i32gather_epi32(_mm_setzero_si128(), reinterpret_cast<const int*>(source.bits), offsets, mask, 1);
}

__m256d ChannelOf(__m128i pixels, int shift)
{
    return _mm256_cvtepi32_pd(_mm_and_si128(_mm_srli_epi32(pixels, shift), _mm_set1_epi32(0xFF)));
}

__m128i FourPixels(const PixelRows& source, const LensGeometry& geometry, __m256d dx, __m256d dy)
{
    const __m256d r = _mm256_sqrt_pd(_mm256_add_pd(_mm256_mul_pd(dx, dx), _mm256_mul_pd(dy, dy)));
    const __m256d reference = _mm256_set1_pd(geometry.reference);
    const __m256d n = _mm256_div_pd(r, reference);
    const __m256d cubic = _mm256_mul_pd(_mm256_mul_pd(_mm256_mul_pd(n, n), n), _mm256_set1_pd(geometry.coefficient));
    const __m256d moved = _mm256_mul_pd(reference, _mm256_add_pd(cubic, n));
    const __m256d sx = _mm256_add_pd(_mm256_mul_pd(_mm256_div_pd(dx, r), moved), _mm256_set1_pd(geometry.cx));
    const __m256d sy = _mm256_add_pd(_mm256_mul_pd(_mm256_div_pd(dy, r), moved), _mm256_set1_pd(geometry.cy));
    // Ordered comparisons: NaN points are outside, as in the scalar test.
    const __m256d minusOne = _mm256_set1_pd(-1.0);
    const __m256d inside = _mm256_and_pd(
        _mm256_and_pd(_mm256_cmp_pd(sx, minusOne, _CMP_GE_OQ),
                      _mm256_cmp_pd(sx, _mm256_set1_pd(source.width), _CMP_LT_OQ)),
        _mm256_and_pd(_mm256_cmp_pd(sy, minusOne, _CMP_GE_OQ),
                      _mm256_cmp_pd(sy, _mm256_set1_pd(source.height), _CMP_LT_OQ)));
    const __m256d left = _mm256_floor_pd(sx);
    const __m256d bottom = _mm256_floor_pd(sy);
    const __m256d fx = _mm256_sub_pd(sx, left);
    const __m256d fy = _mm256_sub_pd(sy, bottom);
    const __m256d one = _mm256_set1_pd(1.0);
    const __m256d w00 = _mm256_mul_pd(_mm256_sub_pd(one, fx), _mm256_sub_pd(one, fy));
    const __m256d w01 = _mm256_mul_pd(_mm256_sub_pd(one, fx), fy);
    const __m256d w10 = _mm256_mul_pd(fx, _mm256_sub_pd(one, fy));
    const __m256d w11 = _mm256_mul_pd(fx, fy);

    // Outside lanes convert whatever their floors are; their reads are masked off.
    const __m128i use = _mm256_cvtpd_epi32(_mm256_and_pd(inside, one));
    const __m128i inUse = _mm_cmpeq_epi32(use, _mm_set1_epi32(1));
    const __m128i x0 = _mm_and_si128(inUse, _mm256_cvttpd_epi32(_mm256_and_pd(inside, left)));
    const __m128i y0 = _mm_and_si128(inUse, _mm256_cvttpd_epi32(_mm256_and_pd(inside, bottom)));
    const __m128i oneInt = _mm_set1_epi32(1);
    const __m128i p00 = Gathered(source, x0, y0, inUse);
    const __m128i p01 = Gathered(source, x0, _mm_add_epi32(y0, oneInt), inUse);
    const __m128i p10 = Gathered(source, _mm_add_epi32(x0, oneInt), y0, inUse);
    const __m128i p11 = Gathered(source, _mm_add_epi32(x0, oneInt), _mm_add_epi32(y0, oneInt), inUse);

    const __m256d noFraction = _mm256_set1_pd(4503599627370496.0);
    __m128i pixels = _mm_setzero_si128();
    for (const int shift : {16, 8, 0}) {
        __m256d sum = _mm256_mul_pd(ChannelOf(p00, shift), w00);
        sum = _mm256_add_pd(sum, _mm256_mul_pd(ChannelOf(p01, shift), w01));
        sum = _mm256_add_pd(sum, _mm256_mul_pd(ChannelOf(p10, shift), w10));
        sum = _mm256_add_pd(sum, _mm256_mul_pd(ChannelOf(p11, shift), w11));
        const __m256d clamped = _mm256_min_pd(_mm256_max_pd(sum, _mm256_setzero_pd()), _mm256_set1_pd(255.0));
        const __m256d rounded = _mm256_sub_pd(_mm256_add_pd(clamped, noFraction), noFraction);
        pixels = _mm_or_si128(pixels, _mm_slli_epi32(_mm256_cvttpd_epi32(rounded), shift));
    }
    return _mm_and_si128(pixels, inUse);
}

} // namespace

// Rows whose byte offsets might not fit the gathers' 32-bit indexes, and the block
// holding the centre pixel, take the portable loop.
void LensRowAvx2(const PixelRows& source, const LensGeometry& geometry, int y, int first, int last, uint32_t* row)
{
    const auto span = static_cast<long long>(source.stride) * (source.height + 1) + 4LL * (source.width + 1);
    if (source.stride < 0 || span > std::numeric_limits<int>::max()) {
        LensRowPortable(source, geometry, y, first, last, row);
        return;
    }
    const __m256d dy = _mm256_set1_pd(y - geometry.cy);
    const __m256d steps = _mm256_set_pd(3.0, 2.0, 1.0, 0.0);
    int x = first;
    for (; x + kLanes <= last; x += kLanes) {
        if (y == geometry.cy && x <= geometry.cx && geometry.cx < x + kLanes) {
            LensRowPortable(source, geometry, y, x, x + kLanes, row);
            continue;
        }
        const __m256d dx = _mm256_add_pd(_mm256_set1_pd(x - geometry.cx), steps);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(row + x), FourPixels(source, geometry, dx, dy));
    }
    LensRowPortable(source, geometry, y, x, last, row);
}
