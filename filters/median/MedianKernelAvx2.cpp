// The median's interior eight keys at a time: AVX2 orders unsigned words directly.

#include "filters/median/MedianInterior.h"

#include <immintrin.h>

namespace {

struct Avx2Lanes {
    using Vector = __m256i;
    static constexpr int kLanes = 8;
    static Vector Load(const uint32_t* at) { return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(at)); }
    static void Store(uint32_t* at, Vector keys) { _mm256_storeu_si256(reinterpret_cast<__m256i*>(at), keys); }
    static Vector Min(Vector a, Vector b) { return _mm256_min_epu32(a, b); }
    static Vector Max(Vector a, Vector b) { return _mm256_max_epu32(a, b); }
};

} // namespace

void MedianInteriorRowAvx2(const uint32_t* const* rows, int width, int radius, uint32_t* out, uint32_t* scratch)
{
    MedianInteriorRowWith<Avx2Lanes>(rows, width, radius, out, scratch);
}
