#pragma once
// Integer vector policies: the few operations the fixed-point loops need, once for
// 128-bit vectors (SSE2) and once for 256-bit ones (AVX2), under the same names, so
// that a loop is written once as a template over the policy and both widths run the
// same sequence of operations.
//
// AVX2 works within each 128-bit half: unpacks, packs, byte shifts and shuffles never
// cross between the halves. A loop that keeps its data per half (eight bytes of a
// row per half, or one pixel per half) therefore gives the same bytes at both widths.
//
// Internal linkage on purpose: the 256-bit policy and every template instantiated
// with it only exist in files compiled with -mavx2 (named *Avx2.cpp); a shared inline
// copy could carry their instructions into the SSE2 path on a processor without them.

#include <emmintrin.h>
#if defined(__AVX2__)
#include <immintrin.h>
#endif

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace {

struct Vectors128 {
    using Vector = __m128i;
    static constexpr int kBytes = 16;
    // 128-bit halves per vector: what the per-half loads and stores below take.
    static constexpr int kHalves = 1;

    static Vector Zero() { return _mm_setzero_si128(); }
    static Vector Set1(int32_t value) { return _mm_set1_epi32(value); }
    static Vector Load(const uint8_t* at) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(at)); }
    static void Store(uint8_t* at, Vector value) { _mm_storeu_si128(reinterpret_cast<__m128i*>(at), value); }

    static Vector UnpackLow8(Vector a, Vector b) { return _mm_unpacklo_epi8(a, b); }
    static Vector UnpackHigh8(Vector a, Vector b) { return _mm_unpackhi_epi8(a, b); }
    static Vector UnpackLow16(Vector a, Vector b) { return _mm_unpacklo_epi16(a, b); }
    static Vector UnpackHigh16(Vector a, Vector b) { return _mm_unpackhi_epi16(a, b); }
    static Vector MulAdd16(Vector a, Vector b) { return _mm_madd_epi16(a, b); }
    static Vector Add16(Vector a, Vector b) { return _mm_add_epi16(a, b); }
    static Vector Sub16(Vector a, Vector b) { return _mm_sub_epi16(a, b); }
    static Vector Max16(Vector a, Vector b) { return _mm_max_epi16(a, b); }
    static Vector Greater16(Vector a, Vector b) { return _mm_cmpgt_epi16(a, b); }
    static Vector Add32(Vector a, Vector b) { return _mm_add_epi32(a, b); }
    static Vector ShiftRight32(Vector a, int bits) { return _mm_srai_epi32(a, bits); }
    static Vector PackSigned32(Vector a, Vector b) { return _mm_packs_epi32(a, b); }
    static Vector PackUnsigned16(Vector a, Vector b) { return _mm_packus_epi16(a, b); }
    static Vector And(Vector a, Vector b) { return _mm_and_si128(a, b); }
    template <int kCount>
    static Vector ShiftBytesRight(Vector a)
    {
        return _mm_srli_si128(a, kCount);
    }
    template <int kOrder>
    static Vector Shuffle32(Vector a)
    {
        return _mm_shuffle_epi32(a, kOrder);
    }

    // Per half: sixteen bytes, eight bytes (upper half zero) or one 32-bit value.
    static Vector LoadHalves(const uint8_t* const (&at)[kHalves], size_t offset) { return Load(at[0] + offset); }
    static Vector LoadHalvesLow64(const uint8_t* const (&at)[kHalves], size_t offset)
    {
        return _mm_loadl_epi64(reinterpret_cast<const __m128i*>(at[0] + offset));
    }
    static Vector Set1Halves(const int32_t (&values)[kHalves]) { return Set1(values[0]); }
    // The lowest 32 bits of the first count halves, one after the other at out.
    static void StoreLow32OfHalves(Vector value, uint8_t* out, int /*count*/)
    {
        const int word = _mm_cvtsi128_si32(value);
        std::memcpy(out, &word, 4);
    }
};

#if defined(__AVX2__)
struct Vectors256 {
    using Vector = __m256i;
    static constexpr int kBytes = 32;
    static constexpr int kHalves = 2;

    static Vector Zero() { return _mm256_setzero_si256(); }
    static Vector Set1(int32_t value) { return _mm256_set1_epi32(value); }
    static Vector Load(const uint8_t* at) { return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(at)); }
    static void Store(uint8_t* at, Vector value) { _mm256_storeu_si256(reinterpret_cast<__m256i*>(at), value); }

    static Vector UnpackLow8(Vector a, Vector b) { return _mm256_unpacklo_epi8(a, b); }
    static Vector UnpackHigh8(Vector a, Vector b) { return _mm256_unpackhi_epi8(a, b); }
    static Vector UnpackLow16(Vector a, Vector b) { return _mm256_unpacklo_epi16(a, b); }
    static Vector UnpackHigh16(Vector a, Vector b) { return _mm256_unpackhi_epi16(a, b); }
    static Vector MulAdd16(Vector a, Vector b) { return _mm256_madd_epi16(a, b); }
    static Vector Add16(Vector a, Vector b) { return _mm256_add_epi16(a, b); }
    static Vector Sub16(Vector a, Vector b) { return _mm256_sub_epi16(a, b); }
    static Vector Max16(Vector a, Vector b) { return _mm256_max_epi16(a, b); }
    static Vector Greater16(Vector a, Vector b) { return _mm256_cmpgt_epi16(a, b); }
    static Vector Add32(Vector a, Vector b) { return _mm256_add_epi32(a, b); }
    static Vector ShiftRight32(Vector a, int bits) { return _mm256_srai_epi32(a, bits); }
    static Vector PackSigned32(Vector a, Vector b) { return _mm256_packs_epi32(a, b); }
    static Vector PackUnsigned16(Vector a, Vector b) { return _mm256_packus_epi16(a, b); }
    static Vector And(Vector a, Vector b) { return _mm256_and_si256(a, b); }
    template <int kCount>
    static Vector ShiftBytesRight(Vector a)
    {
        return _mm256_srli_si256(a, kCount);
    }
    template <int kOrder>
    static Vector Shuffle32(Vector a)
    {
        return _mm256_shuffle_epi32(a, kOrder);
    }

    static Vector LoadHalves(const uint8_t* const (&at)[kHalves], size_t offset)
    {
        return Halves(_mm_loadu_si128(reinterpret_cast<const __m128i*>(at[0] + offset)),
                      _mm_loadu_si128(reinterpret_cast<const __m128i*>(at[1] + offset)));
    }
    static Vector LoadHalvesLow64(const uint8_t* const (&at)[kHalves], size_t offset)
    {
        return Halves(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(at[0] + offset)),
                      _mm_loadl_epi64(reinterpret_cast<const __m128i*>(at[1] + offset)));
    }
    static Vector Set1Halves(const int32_t (&values)[kHalves])
    {
        return Halves(_mm_set1_epi32(values[0]), _mm_set1_epi32(values[1]));
    }
    static void StoreLow32OfHalves(Vector value, uint8_t* out, int count)
    {
        const int lower = _mm_cvtsi128_si32(_mm256_castsi256_si128(value));
        std::memcpy(out, &lower, 4);
        if (count < 2) return;
        const int upper = _mm_cvtsi128_si32(_mm256_extracti128_si256(value, 1));
        std::memcpy(out + 4, &upper, 4);
    }

private:
    static Vector Halves(__m128i lower, __m128i upper)
    {
        return _mm256_inserti128_si256(_mm256_castsi128_si256(lower), upper, 1);
    }
};
#endif

// Byte k of a and byte k of b, widened to 16 bits and side by side, times the weight
// pair in every 32-bit lane: sums[j] gains the two-tap sums of bytes 4j .. 4j+3 (of
// each half). Two byte unpacks and four widenings make the pairs, all within halves.
template <class V>
void AddWeightedBytePairs(typename V::Vector a, typename V::Vector b, typename V::Vector weightPair,
                          typename V::Vector (&sums)[4])
{
    const auto zero = V::Zero();
    const auto low = V::UnpackLow8(a, b);
    const auto high = V::UnpackHigh8(a, b);
    sums[0] = V::Add32(sums[0], V::MulAdd16(V::UnpackLow8(low, zero), weightPair));
    sums[1] = V::Add32(sums[1], V::MulAdd16(V::UnpackHigh8(low, zero), weightPair));
    sums[2] = V::Add32(sums[2], V::MulAdd16(V::UnpackLow8(high, zero), weightPair));
    sums[3] = V::Add32(sums[3], V::MulAdd16(V::UnpackHigh8(high, zero), weightPair));
}

// The four accumulators shifted right by bits and packed, with signed then unsigned
// saturation, into bytes 0 .. 255 in the order AddWeightedBytePairs took them.
template <class V>
typename V::Vector ShiftedToBytes(const typename V::Vector (&sums)[4], int bits)
{
    const auto first = V::PackSigned32(V::ShiftRight32(sums[0], bits), V::ShiftRight32(sums[1], bits));
    const auto second = V::PackSigned32(V::ShiftRight32(sums[2], bits), V::ShiftRight32(sums[3], bits));
    return V::PackUnsigned16(first, second);
}

// Two weights of 0 .. 32767 side by side in one 32-bit lane, first in the low word:
// the weights of two neighbouring taps for MulAdd16 on interleaved pairs of values.
inline int32_t PackedWeightPair(int32_t first, int32_t second)
{
    return static_cast<int32_t>(static_cast<uint32_t>(second) << 16 | static_cast<uint32_t>(first));
}

// Two neighbouring 16-bit weights of any sign, read as they lie in memory (x86 is
// little-endian: the first in the low word). One 32-bit load, where assembling the
// pair from two values costs compilers several instructions per tap.
inline int32_t PackedWeightPair(const int16_t* pair)
{
    int32_t packed;
    std::memcpy(&packed, pair, sizeof packed);
    return packed;
}

}  // namespace
