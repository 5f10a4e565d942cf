// The median's interior four keys at a time. SSE2 compares only signed words: with
// the top bit flipped on both sides, the signed order is the unsigned one.

#include "filters/median/MedianInterior.h"

#include <emmintrin.h>

namespace {

struct Sse2Lanes {
    using Vector = __m128i;
    static constexpr int kLanes = 4;
    static Vector Add(Vector a, Vector b) { return _mm_add_epi32(a, b); }
    static Vector Load(const uint32_t* at) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(at)); }
    static void Store(uint32_t* at, Vector keys) { _mm_storeu_si128(reinterpret_cast<__m128i*>(at), keys); }
    static void LoadEvenOdd(const uint32_t* at, Vector& even, Vector& odd)
    {
        const __m128 low = _mm_castsi128_ps(Load(at));
        const __m128 high = _mm_castsi128_ps(Load(at + 4));
        even = _mm_castps_si128(_mm_shuffle_ps(low, high, _MM_SHUFFLE(2, 0, 2, 0)));
        odd = _mm_castps_si128(_mm_shuffle_ps(low, high, _MM_SHUFFLE(3, 1, 3, 1)));
    }
    static void StoreInterleaved(uint32_t* at, Vector even, Vector odd)
    {
        Store(at, _mm_unpacklo_epi32(even, odd));
        Store(at + 4, _mm_unpackhi_epi32(even, odd));
    }
    static Vector FirstIsLarger(Vector a, Vector b)
    {
        const __m128i top = _mm_set1_epi32(static_cast<int>(0x80000000u));
        return _mm_cmpgt_epi32(_mm_xor_si128(a, top), _mm_xor_si128(b, top));
    }
    // Where pick is all ones, a, elsewhere b.
    static Vector Choose(Vector pick, Vector a, Vector b)
    {
        return _mm_or_si128(_mm_and_si128(pick, a), _mm_andnot_si128(pick, b));
    }
    // The luma's weights and divisor shared by 64: 117 B + 306 R from blue and red
    // side by side in one multiply-add, 601 G from a second; the luma is bits 10 to
    // 17 of their sum.
    static Vector Keyed(Vector pixels)
    {
        const Vector blueRed =
            _mm_madd_epi16(_mm_and_si128(pixels, _mm_set1_epi32(0x00FF00FF)), _mm_set1_epi32(306 << 16 | 117));
        const Vector green =
            _mm_madd_epi16(_mm_and_si128(_mm_srli_epi32(pixels, 8), _mm_set1_epi32(0xFF)), _mm_set1_epi32(601));
        const Vector luma = _mm_and_si128(_mm_slli_epi32(Add(blueRed, green), 14),
                                            _mm_set1_epi32(static_cast<int>(0xFF000000u)));
        return _mm_or_si128(_mm_and_si128(pixels, _mm_set1_epi32(0x00FFFFFF)), luma);
    }
    static Vector Min(Vector a, Vector b) { return Choose(FirstIsLarger(a, b), b, a); }
    static Vector Max(Vector a, Vector b) { return Choose(FirstIsLarger(a, b), a, b); }
};

} // namespace

void MedianInteriorRowSse2(const uint32_t* const* rows, int rowCount, int width, int radius, uint32_t* out,
                          uint32_t* scratch)
{
    MedianInteriorRowWith<Sse2Lanes>(rows, rowCount, width, radius, out, scratch);
}

void KeyRowByLumaSse2(const uint32_t* row, int width, uint32_t* keyed, const uint32_t* next)
{
    KeyRowWith<Sse2Lanes>(row, width, keyed, next);
}
