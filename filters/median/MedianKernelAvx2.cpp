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
    // The luma's weights and divisor shared by 64: 306 R + 601 G + 117 B over 1024,
    // each channel times its weight in one 32-bit lane.
    static Vector Keyed(Vector pixels)
    {
        const Vector byte = _mm256_set1_epi32(0xFF);
        const Vector sum = Add(Add(_mm256_madd_epi16(_mm256_and_si256(_mm256_srli_epi32(pixels, 16), byte), _mm256_set1_epi32(306)),
                                   _mm256_madd_epi16(_mm256_and_si256(_mm256_srli_epi32(pixels, 8), byte), _mm256_set1_epi32(601))),
                               _mm256_madd_epi16(_mm256_and_si256(pixels, byte), _mm256_set1_epi32(117)));
        return _mm256_or_si256(_mm256_and_si256(pixels, _mm256_set1_epi32(0x00FFFFFF)), _mm256_slli_epi32(_mm256_srli_epi32(sum, 10), 24));
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

void KeyRowByLumaAvx2(const uint32_t* row, int width, uint32_t* keyed)
{
    KeyRowWith<Avx2Lanes>(row, width, keyed);
}
