// The bilinear interior span with 128-bit vectors: four source points per step, one
// output pixel per vector while blending. SSE2 has neither a 32-bit multiply nor a
// gather, so each point's row address is worked out in scalar code; and it has no
// byte shuffle, so a pair's channels are paired by unpacking against its own upper
// half.

#include "filters/rotate/RotateKernelVector.h"

namespace {

struct RotateVectors128 : Vectors128 {
    static Vector Sub32(Vector a, Vector b) { return _mm_sub_epi32(a, b); }
    static Vector ShiftLeft32(Vector a, int bits) { return _mm_slli_epi32(a, bits); }
    static Vector Or(Vector a, Vector b) { return _mm_or_si128(a, b); }

    static __m128i PairAt(const PixelRows& source, int x, int y)
    {
        return _mm_loadl_epi64(reinterpret_cast<const __m128i*>(source.Row(y) + x));
    }

    static void LoadPairs(const PixelRows& source, Vector x0, Vector y0, Vector (&rows)[2], Vector (&nexts)[2])
    {
        alignas(16) int32_t xs[4];
        alignas(16) int32_t ys[4];
        Store(reinterpret_cast<uint8_t*>(xs), x0);
        Store(reinterpret_cast<uint8_t*>(ys), y0);
        for (int j = 0; j < 2; ++j) {
            const int first = 2 * j;
            rows[j] = _mm_unpacklo_epi64(PairAt(source, xs[first], ys[first]),
                                         PairAt(source, xs[first + 1], ys[first + 1]));
            nexts[j] = _mm_unpacklo_epi64(PairAt(source, xs[first], ys[first] + 1),
                                          PairAt(source, xs[first + 1], ys[first + 1] + 1));
        }
    }

    // Eight bytes of two pixels as words, then the second pixel's words beside the first's.
    template <bool kSecond>
    static Vector Spread(Vector v)
    {
        const Vector words = kSecond ? _mm_unpackhi_epi8(v, Zero()) : _mm_unpacklo_epi8(v, Zero());
        return _mm_unpacklo_epi16(words, _mm_srli_si128(words, 8));
    }
};

} // namespace

void BilinearInteriorSpanSse2(const PixelRows& source, FixedPoint start, FixedPoint step, int count, uint32_t* out)
{
    BilinearSpanVector<RotateVectors128>::Run(source, start, step, count, out);
}
