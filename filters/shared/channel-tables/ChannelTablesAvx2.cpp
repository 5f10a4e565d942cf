// The channel-table mapping eight pixels at a time, one gather per channel.

#include "filters/shared/channel-tables/ChannelTables.h"

#include <immintrin.h>

namespace {

__m256i LookUp(const int32_t* table, __m256i pixels, int shift)
{
    const __m256i index = _mm256_and_si256(_mm256_srli_epi32(pixels, shift), _mm256_set1_epi32(0xFF));
    return _mm256_slli_epi32(_mm256_i32gather_epi32(table, index, 4), shift);
}

} // namespace

void MapChannelRowAvx2(uint8_t* row, int width, const WideChannelTables& wide, const ChannelTables& tables)
{
    const __m256i fourthByte = _mm256_set1_epi32(static_cast<int>(0xFF000000u));
    int x = 0;
    for (; x + 8 <= width; x += 8) {
        auto* at = reinterpret_cast<__m256i*>(row + 4 * x);
        const __m256i pixels = _mm256_loadu_si256(at);
        __m256i mapped = _mm256_and_si256(pixels, fourthByte);
        mapped = _mm256_or_si256(mapped, LookUp(wide.blue, pixels, 0));
        mapped = _mm256_or_si256(mapped, LookUp(wide.green, pixels, 8));
        mapped = _mm256_or_si256(mapped, LookUp(wide.red, pixels, 16));
        _mm256_storeu_si256(at, mapped);
    }
    MapChannelRowPortable(row + 4 * x, width - x, tables);
}
