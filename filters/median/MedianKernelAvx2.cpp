#include "filters/median/MedianKernel.h"

#include <immintrin.h>

#include <algorithm>
#include <array>
#include <bit>

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

namespace {

// For each mask of lanes, the picked lanes' numbers packed four bits each, lowest
// first: the permutation that gathers those lanes at the front.
constexpr std::array<uint32_t, 256> kPickedLanes = [] {
    std::array<uint32_t, 256> table{};
    for (uint32_t mask = 0; mask < 256; ++mask) {
        int picked = 0;
        for (uint32_t lane = 0; lane < 8; ++lane) {
            if ((mask >> lane & 1) != 0) table[mask] |= lane << (4 * picked++);
        }
    }
    return table;
}();

// Vector constants are made where they are used: one at namespace scope would be
// built when the library loads, on processors without AVX2 too.
__m256i Lanes()
{
    return _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7);
}

// The lanes picked by mask, moved to the front in lane order.
__m256i Picked(__m256i keys, uint32_t mask)
{
    const __m256i shifts = _mm256_setr_epi32(0, 4, 8, 12, 16, 20, 24, 28);
    const __m256i packed = _mm256_set1_epi32(static_cast<int>(kPickedLanes[mask]));
    const __m256i order = _mm256_and_si256(_mm256_srlv_epi32(packed, shifts), _mm256_set1_epi32(15));
    return _mm256_permutevar8x32_epi32(keys, order);
}

// The first sixteen keys of one luma are kept in registers as well as in memory:
// reading back what was just stored in pieces would wait for the stores to land.
// Lanes past the last key hold the largest key.
struct LumaKeys {
    __m256i low = _mm256_set1_epi32(-1);
    __m256i high = _mm256_set1_epi32(-1);
    int count = 0;
};

// Puts the first taken lanes of picked at lanes count onwards of the sixteen.
__m256i PlaceAt(__m256i into, __m256i lanes, __m256i picked, int count, int taken)
{
    const __m256i moved = _mm256_permutevar8x32_epi32(picked, _mm256_sub_epi32(lanes, _mm256_set1_epi32(count)));
    const __m256i from = _mm256_cmpgt_epi32(lanes, _mm256_set1_epi32(count - 1));
    const __m256i to = _mm256_cmpgt_epi32(_mm256_set1_epi32(count + taken), lanes);
    return _mm256_blendv_epi8(into, moved, _mm256_and_si256(from, to));
}

// A window row takes one vector of up to eight keys; the ninth column of the widest
// window is read down the rows instead, eight rows to a vector.
constexpr int kMostBlocks = 2 * kMaximumMedianRadius + 1 + 2;
static_assert(2 * kMaximumMedianRadius + 1 <= 9);

__m256i ColumnBlock(const MedianWindow& window, int column, int firstRow)
{
    const auto key = [&](int lane) {
        const int row = std::min(firstRow + lane, window.rowCount - 1);
        return static_cast<int>(window.rows[row][window.first + column]);
    };
    return _mm256_setr_epi32(key(0), key(1), key(2), key(3), key(4), key(5), key(6), key(7));
}

uint32_t MatchMask(__m256i block, __m256i wanted, int used)
{
    const __m256i inside = _mm256_cmpgt_epi32(_mm256_set1_epi32(used), Lanes());
    const __m256i match = _mm256_and_si256(inside, _mm256_cmpeq_epi32(_mm256_srli_epi32(block, 24), wanted));
    return static_cast<uint32_t>(_mm256_movemask_ps(_mm256_castsi256_ps(match)));
}

// Gathers the window's keys of one luma into keys, whole vectors at a time, so keys
// needs room for eight more. All blocks are matched before any is placed, so that
// finding where each goes is a short chain of additions. The masked loads never
// touch memory past the window.
LumaKeys GatherLuma(const MedianWindow& window, uint32_t luma, uint32_t* keys)
{
    const __m256i wanted = _mm256_set1_epi32(static_cast<int>(luma));
    const int rowWidth = std::min(window.width, 8);
    const __m256i rowInside = _mm256_cmpgt_epi32(_mm256_set1_epi32(rowWidth), Lanes());
    __m256i blocks[kMostBlocks];
    std::array<uint32_t, kMostBlocks> masks;
    int blockCount = 0;
    const auto add = [&](__m256i block, int used) {
        blocks[blockCount] = block;
        masks[static_cast<size_t>(blockCount++)] = MatchMask(block, wanted, used);
    };
    for (int i = 0; i < window.rowCount; ++i) {
        add(_mm256_maskload_epi32(reinterpret_cast<const int*>(window.rows[i] + window.first), rowInside), rowWidth);
    }
    for (int row = 0; window.width > 8 && row < window.rowCount; row += 8) {
        add(ColumnBlock(window, 8, row), window.rowCount - row);
    }
    const __m256i highLanes = _mm256_add_epi32(Lanes(), _mm256_set1_epi32(8));
    LumaKeys found;
    for (int b = 0; b < blockCount; ++b) {
        const __m256i picked = Picked(blocks[b], masks[static_cast<size_t>(b)]);
        const int taken = std::popcount(masks[static_cast<size_t>(b)]);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(keys + found.count), picked);
        found.low = PlaceAt(found.low, Lanes(), picked, found.count, taken);
        found.high = PlaceAt(found.high, highLanes, picked, found.count, taken);
        found.count += taken;
    }
    return found;
}

uint32_t HorizontalMax(__m256i values)
{
    __m128i max = _mm_max_epu32(_mm256_castsi256_si128(values), _mm256_extracti128_si256(values, 1));
    max = _mm_max_epu32(max, _mm_shuffle_epi32(max, 0x4E));
    max = _mm_max_epu32(max, _mm_shuffle_epi32(max, 0xB1));
    return static_cast<uint32_t>(_mm_cvtsi128_si32(max));
}

// Flipping the top bit lets the signed comparison order keys as unsigned words.
__m256i Flipped(__m256i keys)
{
    return _mm256_xor_si256(keys, _mm256_set1_epi32(static_cast<int>(0x80000000u)));
}

// For each lane of keys, how many lanes of others are smaller; both come flipped.
__m256i CountBelow(__m256i keys, __m256i others)
{
    __m256i below = _mm256_setzero_si256();
    for (int lane = 0; lane < 8; ++lane) {
        const __m256i other = _mm256_permutevar8x32_epi32(others, _mm256_set1_epi32(lane));
        below = _mm256_sub_epi32(below, _mm256_cmpgt_epi32(keys, other));
    }
    return below;
}

// The keys with at most rank keys below them, the others zero.
__m256i AtMostRank(__m256i keys, __m256i below, int rank)
{
    return _mm256_and_si256(keys, _mm256_cmpgt_epi32(_mm256_set1_epi32(rank + 1), below));
}

// Up to sixteen keys, the usual case, are ranked among themselves in registers with
// a fixed number of steps.
uint32_t KeyOfRankInRegisters(const LumaKeys& keys, int rank)
{
    const __m256i low = Flipped(keys.low);
    if (keys.count <= 8) return HorizontalMax(AtMostRank(keys.low, CountBelow(low, low), rank));
    const __m256i high = Flipped(keys.high);
    const __m256i lowBelow = _mm256_add_epi32(CountBelow(low, low), CountBelow(low, high));
    const __m256i highBelow = _mm256_add_epi32(CountBelow(high, low), CountBelow(high, high));
    return HorizontalMax(_mm256_max_epu32(AtMostRank(keys.low, lowBelow, rank), AtMostRank(keys.high, highBelow, rank)));
}

uint32_t KeyOfRankInMemory(uint32_t* keys, int count, int rank)
{
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(keys + count), _mm256_set1_epi32(-1));
    __m256i found = _mm256_setzero_si256();
    for (int block = 0; block < count; block += 8) {
        const __m256i candidates = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(keys + block));
        const __m256i flipped = Flipped(candidates);
        __m256i below = _mm256_setzero_si256();
        for (int other = 0; other < count; ++other) {
            const __m256i key = _mm256_set1_epi32(static_cast<int>(keys[other] ^ 0x80000000u));
            below = _mm256_sub_epi32(below, _mm256_cmpgt_epi32(flipped, key));
        }
        found = _mm256_max_epu32(found, AtMostRank(candidates, below, rank));
    }
    return HorizontalMax(found);
}

} // namespace

// The portable rule, many candidates at a time: the largest key with at most rank
// keys below it. The lanes past the last candidate hold the largest key, which is
// chosen only when the answer is that key anyway.
uint32_t KeyOfRankWithinLumaAvx2(const MedianWindow& window, uint32_t luma, int rank)
{
    std::array<uint32_t, kLargestMedianWindow + 16> memory;
    const LumaKeys keys = GatherLuma(window, luma, memory.data());
    if (keys.count <= 16) return KeyOfRankInRegisters(keys, rank);
    return KeyOfRankInMemory(memory.data(), keys.count, rank);
}
