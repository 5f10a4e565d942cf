#include "filters/neighbourhood/MedianEngine.h"

#include <immintrin.h>

namespace {

// The same network as the portable row, eight pixels at a time: the keys are
// unsigned words, which AVX2 orders directly.
struct SortedColumns {
    __m256i low;
    __m256i middle;
    __m256i high;
};

__m256i Load(const uint32_t* keys)
{
    return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(keys));
}

SortedColumns SortColumns(const uint32_t* below, const uint32_t* row, const uint32_t* above)
{
    const __m256i a = Load(below);
    const __m256i b = Load(row);
    const __m256i c = Load(above);
    const __m256i low = _mm256_min_epu32(a, b);
    const __m256i high = _mm256_max_epu32(a, b);
    return {_mm256_min_epu32(low, c), _mm256_max_epu32(low, _mm256_min_epu32(high, c)), _mm256_max_epu32(high, c)};
}

__m256i MedianOfThree(__m256i a, __m256i b, __m256i c)
{
    return _mm256_max_epu32(_mm256_min_epu32(a, b), _mm256_min_epu32(_mm256_max_epu32(a, b), c));
}

__m256i MedianOfNine(const SortedColumns& left, const SortedColumns& centre, const SortedColumns& right)
{
    const __m256i lowest = _mm256_max_epu32(_mm256_max_epu32(left.low, centre.low), right.low);
    const __m256i highest = _mm256_min_epu32(_mm256_min_epu32(left.high, centre.high), right.high);
    return MedianOfThree(lowest, MedianOfThree(left.middle, centre.middle, right.middle), highest);
}

} // namespace

void MedianRowRadius1Avx2(const uint32_t* below, const uint32_t* row, const uint32_t* above, int width,
                          uint32_t* out)
{
    int x = 1;
    for (; x + 9 <= width; x += 8) {
        const SortedColumns left = SortColumns(below + x - 1, row + x - 1, above + x - 1);
        const SortedColumns centre = SortColumns(below + x, row + x, above + x);
        const SortedColumns right = SortColumns(below + x + 1, row + x + 1, above + x + 1);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + x), MedianOfNine(left, centre, right));
    }
    // The last few outputs: the portable row, started one column before them.
    if (x + 1 < width) MedianRowRadius1(below + x - 1, row + x - 1, above + x - 1, width - x + 1, out + x - 1);
}
