// The bilinear interior span with 128-bit vectors: four source points per step, one
// output pixel per vector while blending. SSE2 has no byte shuffle, so each pixel's
// channels are paired by unpacking against its own upper half.

#include "filters/rotate/RotateKernelVector.h"

namespace {

struct RotateVectors128 : Vectors128 {
    static Vector Sub32(Vector a, Vector b) { return _mm_sub_epi32(a, b); }
    static Vector ShiftLeft32(Vector a, int bits) { return _mm_slli_epi32(a, bits); }

    static Vector Neighbours(const uint32_t* const (&row)[kHalves], const uint32_t* const (&next)[kHalves])
    {
        return _mm_unpacklo_epi64(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(row[0])),
                                  _mm_loadl_epi64(reinterpret_cast<const __m128i*>(next[0])));
    }

    // Eight bytes of two pixels as words, then the second pixel's words beside the first's.
    static Vector PairedWords(Vector words) { return _mm_unpacklo_epi16(words, _mm_srli_si128(words, 8)); }
    static Vector RowPairs(Vector v) { return PairedWords(_mm_unpacklo_epi8(v, Zero())); }
    static Vector NextRowPairs(Vector v) { return PairedWords(_mm_unpackhi_epi8(v, Zero())); }
};

} // namespace

void BilinearInteriorSpanSse2(const PixelRows& source, FixedPoint start, FixedPoint step, int count, uint32_t* out)
{
    BilinearSpanVector<RotateVectors128>::Run(source, start, step, count, out);
}
