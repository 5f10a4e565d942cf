// The channel-table mapping 32 pixels at a time with byte shuffles. Eight-lane
// gathers were slower than the scalar loop on the processor measured (an AMD EPYC);
// a 16-entry byte shuffle looks up 32 bytes at once instead.
//
// The 32 pixels are sorted into one vector per channel (the order of the pixels
// inside those vectors does not matter, as long as the way back is the inverse).
// A byte's low four bits pick an entry within each run of sixteen; its high four
// bits then choose among the sixteen runs' answers in a tree of blends, one bit per
// level: a blend follows bit 7 of its mask bytes, and shifting the 16-bit lanes left
// by 3, 2, 1 and 0 brings bits 4, 5, 6 and 7 of every byte there.

#include "filters/shared/channel-tables/ChannelTables.h"

#include <immintrin.h>

namespace {

__m256i Run(const uint8_t (&runs)[16][32], int run, __m256i lowBits)
{
    return _mm256_shuffle_epi8(_mm256_load_si256(reinterpret_cast<const __m256i*>(runs[run])), lowBits);
}

__m256i LookUp(const uint8_t (&runs)[16][32], __m256i bytes)
{
    const __m256i lowBits = _mm256_and_si256(bytes, _mm256_set1_epi8(0x0F));
    const __m256i bit4 = _mm256_slli_epi16(bytes, 3);
    const __m256i bit5 = _mm256_slli_epi16(bytes, 2);
    const __m256i bit6 = _mm256_slli_epi16(bytes, 1);
    __m256i quarters[4];
    for (int quarter = 0; quarter < 4; ++quarter) {
        const int first = 4 * quarter;
        const __m256i low = _mm256_blendv_epi8(Run(runs, first, lowBits), Run(runs, first + 1, lowBits), bit4);
        const __m256i high = _mm256_blendv_epi8(Run(runs, first + 2, lowBits), Run(runs, first + 3, lowBits), bit4);
        quarters[quarter] = _mm256_blendv_epi8(low, high, bit5);
    }
    return _mm256_blendv_epi8(_mm256_blendv_epi8(quarters[0], quarters[1], bit6),
                              _mm256_blendv_epi8(quarters[2], quarters[3], bit6), bytes);
}

} // namespace

void MapChannelRowAvx2(uint8_t* row, int width, const PreparedChannelTables& tables)
{
    // Within each 128-bit half: the four pixels' blue bytes, then green, red, fourth.
    const __m256i byChannel = _mm256_setr_epi8(0, 4, 8, 12, 1, 5, 9, 13, 2, 6, 10, 14, 3, 7, 11, 15, //
                                               0, 4, 8, 12, 1, 5, 9, 13, 2, 6, 10, 14, 3, 7, 11, 15);
    const __m256i kept = _mm256_set1_epi8(static_cast<char>(tables.keptFourth >> 24));
    int x = 0;
    for (; x + 32 <= width; x += 32) {
        auto* at = reinterpret_cast<__m256i*>(row + ptrdiff_t{4} * x);
        const __m256i v0 = _mm256_shuffle_epi8(_mm256_loadu_si256(at), byChannel);
        const __m256i v1 = _mm256_shuffle_epi8(_mm256_loadu_si256(at + 1), byChannel);
        const __m256i v2 = _mm256_shuffle_epi8(_mm256_loadu_si256(at + 2), byChannel);
        const __m256i v3 = _mm256_shuffle_epi8(_mm256_loadu_si256(at + 3), byChannel);
        // A 4 x 4 transposition of 32-bit groups in each half.
        const __m256i blueGreen01 = _mm256_unpacklo_epi32(v0, v1);
        const __m256i redFourth01 = _mm256_unpackhi_epi32(v0, v1);
        const __m256i blueGreen23 = _mm256_unpacklo_epi32(v2, v3);
        const __m256i redFourth23 = _mm256_unpackhi_epi32(v2, v3);
        const __m256i blue = LookUp(tables.blueRuns, _mm256_unpacklo_epi64(blueGreen01, blueGreen23));
        const __m256i green = LookUp(tables.greenRuns, _mm256_unpackhi_epi64(blueGreen01, blueGreen23));
        const __m256i red = LookUp(tables.redRuns, _mm256_unpacklo_epi64(redFourth01, redFourth23));
        const __m256i fourth = _mm256_and_si256(_mm256_unpackhi_epi64(redFourth01, redFourth23), kept);
        // And back: the shuffle that sorted the bytes of a half is its own inverse.
        const __m256i blueGreenLow = _mm256_unpacklo_epi32(blue, green);
        const __m256i blueGreenHigh = _mm256_unpackhi_epi32(blue, green);
        const __m256i redFourthLow = _mm256_unpacklo_epi32(red, fourth);
        const __m256i redFourthHigh = _mm256_unpackhi_epi32(red, fourth);
        _mm256_storeu_si256(at, _mm256_shuffle_epi8(_mm256_unpacklo_epi64(blueGreenLow, redFourthLow), byChannel));
        _mm256_storeu_si256(at + 1, _mm256_shuffle_epi8(_mm256_unpackhi_epi64(blueGreenLow, redFourthLow), byChannel));
        _mm256_storeu_si256(at + 2, _mm256_shuffle_epi8(_mm256_unpacklo_epi64(blueGreenHigh, redFourthHigh), byChannel));
        _mm256_storeu_si256(at + 3,
                            _mm256_shuffle_epi8(_mm256_unpackhi_epi64(blueGreenHigh, redFourthHigh), byChannel));
    }
    MapChannelRowPortable(row + ptrdiff_t{4} * x, width - x, tables);
}
