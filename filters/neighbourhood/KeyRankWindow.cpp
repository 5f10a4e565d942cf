#include "filters/neighbourhood/KeyRankWindow.h"

#include <algorithm>
#include <bit>

namespace {

// Small buckets, the usual case, are ranked by counting: a key's rank is the number
// of keys below it plus its equals that come first. Every pair is compared, with
// no branch on the keys, which costs less than the mispredictions of sorting.
constexpr int kCountedRanking = 16;

uint32_t KeyOfRankByCounting(const uint32_t* keys, int count, int rank)
{
    uint32_t found = 0;
    for (int i = 0; i < count; ++i) {
        int position = 0;
        for (int j = 0; j < count; ++j) {
            position += (keys[j] < keys[i]) | ((keys[j] == keys[i]) & (j < i));
        }
        found = position == rank ? keys[i] : found;
    }
    return found;
}

} // namespace

void CKeyRankWindow::Clear()
{
    m_slots.fill({});
    m_counts.fill(0);
    m_size = 0;
    m_bucket = 0;
    m_below = 0;
}

uint32_t CKeyRankWindow::KeyOfRankInBucket(int bucket, int rank) const
{
    std::array<uint32_t, kSlots> keys;
    int count = 0;
    const SlotMask& mask = m_slots[static_cast<size_t>(bucket)];
    for (size_t word = 0; word < mask.size(); ++word) {
        for (uint64_t bits = mask[word]; bits != 0; bits &= bits - 1) {
            keys[static_cast<size_t>(count++)] = m_keys[word * 64 + static_cast<size_t>(std::countr_zero(bits))];
        }
    }
    if (count == 1) return keys[0];
    if (count <= kCountedRanking) return KeyOfRankByCounting(keys.data(), count, rank);
    std::nth_element(keys.begin(), keys.begin() + rank, keys.begin() + count);
    return keys[static_cast<size_t>(rank)];
}
