// The median's interior eight keys at a time: AVX2 orders unsigned words directly.

#include "filters/median/MedianInterior.h"

#include <immintrin.h>

namespace {

struct Avx2Lanes {
    using Vector = __m256i;
    static constexpr int kLanes = 8;
    static Vector Add(Vector a, Vector b) { return _mm256_add_epi32(a, b); }
    static Vector Load(const uint32_t* at) { return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(at)); }
    static void Store(uint32_t* at, Vector keys) { _mm256_storeu_si256(reinterpret_cast<__m256i*>(at), keys); }
    // Sixteen keys apart into the eight at even and the eight at odd places.
    static void LoadEvenOdd(const uint32_t* at, Vector& even, Vector& odd)
    {
        const __m256i order = _mm256_setr_epi32(0, 2, 4, 6, 1, 3, 5, 7);
        const __m256i low = _mm256_permutevar8x32_epi32(Load(at), order);
        const __m256i high = _mm256_permutevar8x32_epi32(Load(at + 8), order);
        even = _mm256_permute2x128_si256(low, high, 0x20);
        odd = _mm256_permute2x128_si256(low, high, 0x31);
    }
    static void StoreInterleaved(uint32_t* at, Vector even, Vector odd)
    {
        const __m256i low = _mm256_unpacklo_epi32(even, odd);
        const __m256i high = _mm256_unpackhi_epi32(even, odd);
        Store(at, _mm256_permute2x128_si256(low, high, 0x20));
        Store(at + 8, _mm256_permute2x128_si256(low, high, 0x31));
    }
    // The luma's weights and divisor shared by 64: 117 B + 306 R from blue and red
    // side by side in one multiply-add, 601 G from a second; the luma is bits 10 to
    // 17 of their sum.
    static Vector Keyed(Vector pixels)
    {
        const Vector blueRed =
            _mm256_madd_epi16(_mm256_and_si256(pixels, _mm256_set1_epi32(0x00FF00FF)), _mm256_set1_epi32(306 << 16 | 117));
        const Vector green =
            _mm256_madd_epi16(_mm256_and_si256(_mm256_srli_epi32(pixels, 8), _mm256_set1_epi32(0xFF)), _mm256_set1_epi32(601));
        const Vector luma = _mm256_and_si256(_mm256_slli_epi32(Add(blueRed, green), 14),
                                            _mm256_set1_epi32(static_cast<int>(0xFF000000u)));
        return _mm256_or_si256(_mm256_and_si256(pixels, _mm256_set1_epi32(0x00FFFFFF)), luma);
    }
    static Vector Min(Vector a, Vector b) { return _mm256_min_epu32(a, b); }
    static Vector Max(Vector a, Vector b) { return _mm256_max_epu32(a, b); }
};

} // namespace

void MedianInteriorRowAvx2(const uint32_t* const* rows, int rowCount, int width, int radius, uint32_t* out,
                          uint32_t* scratch)
{
    MedianInteriorRowWith<Avx2Lanes>(rows, rowCount, width, radius, out, scratch);
}

void KeyRowByLumaAvx2(const uint32_t* row, int width, uint32_t* keyed, const uint32_t* next)
{
    KeyRowWith<Avx2Lanes>(row, width, keyed, next);
}
