// The bilinear interior span with 256-bit vectors: eight source points per step, two
// output pixels per vector while blending (points i and i + 4, one in each half, the
// order in which the packs put them back in sequence). A byte shuffle pairs each
// pixel's channels with its neighbour's and widens them in one instruction.

#include "filters/rotate/RotateKernelVector.h"

namespace {

struct RotateVectors256 : Vectors256 {
    static Vector Sub32(Vector a, Vector b) { return _mm256_sub_epi32(a, b); }
    static Vector ShiftLeft32(Vector a, int bits) { return _mm256_slli_epi32(a, bits); }

    static __m128i HalfOf(const uint32_t* row, const uint32_t* next)
    {
        return _mm_unpacklo_epi64(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(row)),
                                  _mm_loadl_epi64(reinterpret_cast<const __m128i*>(next)));
    }

    static Vector Neighbours(const uint32_t* const (&row)[kHalves], const uint32_t* const (&next)[kHalves])
    {
        return _mm256_inserti128_si256(_mm256_castsi128_si256(HalfOf(row[0], next[0])), HalfOf(row[1], next[1]), 1);
    }

    // In each half, the bytes of the pixels at byte offsets first and first + 4 channel
    // by channel, each followed by a zero byte (an index with its top bit set).
    static Vector PairingShuffle(char first)
    {
        constexpr char z = static_cast<char>(0x80);
        return _mm256_broadcastsi128_si256(_mm_setr_epi8(first, z, first + 4, z, first + 1, z, first + 5, z, first + 2,
                                                         z, first + 6, z, first + 3, z, first + 7, z));
    }
    static Vector RowPairs(Vector v) { return _mm256_shuffle_epi8(v, PairingShuffle(0)); }
    static Vector NextRowPairs(Vector v) { return _mm256_shuffle_epi8(v, PairingShuffle(8)); }
};

} // namespace

void BilinearInteriorSpanAvx2(const PixelRows& source, FixedPoint start, FixedPoint step, int count, uint32_t* out)
{
    BilinearSpanVector<RotateVectors256>::Run(source, start, step, count, out);
}
