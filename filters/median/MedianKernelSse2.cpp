// The median's interior four keys at a time. SSE2 compares only signed words: with
// the top bit flipped on both sides, the signed order is the unsigned one.

#include "filters/median/MedianInterior.h"

#include <emmintrin.h>

namespace {

struct Sse2Lanes {
    using Vector = __m128i;
    static constexpr int kLanes = 4;
    static Vector Load(const uint32_t* at) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(at)); }
    static void Store(uint32_t* at, Vector keys) { _mm_storeu_si128(reinterpret_cast<__m128i*>(at), keys); }
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
    static Vector Min(Vector a, Vector b) { return Choose(FirstIsLarger(a, b), b, a); }
    static Vector Max(Vector a, Vector b) { return Choose(FirstIsLarger(a, b), a, b); }
};

} // namespace

void MedianInteriorRowSse2(const uint32_t* const* rows, int width, int radius, uint32_t* out, uint32_t* scratch)
{
    MedianInteriorRowWith<Sse2Lanes>(rows, width, radius, out, scratch);
}
