// The bilinear interior span with 256-bit vectors: eight source points per step, two
// output pixels per vector while blending (points i and i + 4, one in each half, the
// order in which the packs put them back in sequence). The points' byte offsets come
// from one 32-bit multiply and plain 64-bit loads fetch their neighbour pairs: with
// gather instructions instead the span took up to three times as long on the
// processor measured (bench/RotateBench.cpp). A byte shuffle pairs each pixel's
// channels with its neighbour's and widens them in one instruction.

#include "filters/rotate/RotateKernelVector.h"

#include <cstdlib>
#include <limits>

namespace {

struct RotateVectors256 : Vectors256 {
    static Vector Sub32(Vector a, Vector b) { return _mm256_sub_epi32(a, b); }
    static Vector ShiftLeft32(Vector a, int bits) { return _mm256_slli_epi32(a, bits); }
    static Vector Or(Vector a, Vector b) { return _mm256_or_si256(a, b); }

    // Two neighbour pairs, the one at first in the lower 64 bits.
    static __m128i TwoPairs(const uint8_t* base, int32_t first, int32_t second)
    {
        const __m128d lower = _mm_castsi128_pd(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(base + first)));
        return _mm_castpd_si128(_mm_loadh_pd(lower, reinterpret_cast<const double*>(base + second)));
    }

    static Vector Halves(__m128i lower, __m128i upper)
    {
        return _mm256_inserti128_si256(_mm256_castsi128_si256(lower), upper, 1);
    }

    static void LoadPairs(const PixelRows& source, Vector x0, Vector y0, Vector (&rows)[2], Vector (&nexts)[2])
    {
        alignas(32) int32_t offsets[8];
        Store(reinterpret_cast<uint8_t*>(offsets),
              _mm256_add_epi32(_mm256_mullo_epi32(y0, Set1(static_cast<int32_t>(source.stride))),
                               _mm256_slli_epi32(x0, 2)));
        const uint8_t* row = source.bits;
        const uint8_t* next = source.bits + source.stride;
        for (int j = 0; j < 2; ++j) {
            const int a = 2 * j;
            rows[j] = Halves(TwoPairs(row, offsets[a], offsets[a + 1]), TwoPairs(row, offsets[a + 4], offsets[a + 5]));
            nexts[j] =
                Halves(TwoPairs(next, offsets[a], offsets[a + 1]), TwoPairs(next, offsets[a + 4], offsets[a + 5]));
        }
    }

    // In each half, the bytes of the pixels at byte offsets first and first + 4 channel
    // by channel, each followed by a zero byte (an index with its top bit set).
    static Vector PairingShuffle(char first)
    {
        constexpr char z = static_cast<char>(0x80);
        return _mm256_broadcastsi128_si256(_mm_setr_epi8(first, z, first + 4, z, first + 1, z, first + 5, z, first + 2,
                                                         z, first + 6, z, first + 3, z, first + 7, z));
    }
    template <bool kSecond>
    static Vector Spread(Vector v)
    {
        return _mm256_shuffle_epi8(v, PairingShuffle(kSecond ? 8 : 0));
    }
};

// The offsets are 32-bit bytes from the first row.
bool OffsetsFit(const PixelRows& source)
{
    return std::abs(source.stride) * static_cast<int64_t>(source.height) + int64_t{4} * source.width <=
           std::numeric_limits<int32_t>::max();
}

} // namespace

void BilinearInteriorSpanAvx2(const PixelRows& source, FixedPoint start, FixedPoint step, int count, uint32_t* out)
{
    if (!OffsetsFit(source)) return BilinearInteriorSpan(source, start, step, count, out);
    BilinearSpanVector<RotateVectors256>::Run(source, start, step, count, out);
}
