#pragma once
// The keys of a median window, up to 128 of them, each held in a numbered slot, that
// answers "the key of rank k" while keys come and go one slot at a time as the window
// slides along a row.
//
// Keys are counted in buckets by their top byte (the luma of a keyed pixel), and each
// bucket marks its slots in a bit mask, so that placing or vacating a key changes a
// count and a bit and never moves keys or branches on them. A rank is found by walking
// the counts from the bucket that held the previous answer, which is near in a
// photograph, and only the keys of that one bucket are then ordered.

#include <array>
#include <cstddef>
#include <cstdint>

class CKeyRankWindow {
public:
    static constexpr int kSlots = 128;

    CKeyRankWindow() { Clear(); }

    void Clear();
    // Puts keys[i] into slot first + i; those slots must be empty. A median window
    // takes a column of keys at a time, and the counts kept in locals here stay out
    // of each other's way in the processor.
    void Place(int first, const uint32_t* keys, int count);
    // Empties the slots first to first + count - 1, which must hold keys.
    void Vacate(int first, int count);
    // 0 is the smallest key; rank must be below Size().
    uint32_t KeyOfRank(int rank);
    int Size() const { return m_size; }

private:
    static constexpr int kBuckets = 256;
    using SlotMask = std::array<uint64_t, kSlots / 64>;

    static int BucketOf(uint32_t key) { return static_cast<int>(key >> 24); }
    // The rank-th smallest key of the bucket's slots.
    uint32_t KeyOfRankInBucket(int bucket, int rank) const;

    std::array<uint32_t, kSlots> m_keys{};
    std::array<SlotMask, kBuckets> m_slots{};
    std::array<int, kBuckets> m_counts{};
    int m_size = 0;
    // The walk's position: every key of buckets below m_bucket, m_below of them, is smaller.
    int m_bucket = 0;
    int m_below = 0;
};

inline void CKeyRankWindow::Place(int first, const uint32_t* keys, int count)
{
    const int walked = m_bucket;
    int below = 0;
    for (int i = 0; i < count; ++i) {
        const int slot = first + i;
        const int bucket = BucketOf(keys[i]);
        m_keys[static_cast<size_t>(slot)] = keys[i];
        m_slots[static_cast<size_t>(bucket)][static_cast<size_t>(slot / 64)] |= uint64_t{1} << (slot % 64);
        ++m_counts[static_cast<size_t>(bucket)];
        below += bucket < walked ? 1 : 0;
    }
    m_size += count;
    m_below += below;
}

inline void CKeyRankWindow::Vacate(int first, int count)
{
    const int walked = m_bucket;
    int below = 0;
    for (int slot = first; slot < first + count; ++slot) {
        const int bucket = BucketOf(m_keys[static_cast<size_t>(slot)]);
        m_slots[static_cast<size_t>(bucket)][static_cast<size_t>(slot / 64)] &= ~(uint64_t{1} << (slot % 64));
        --m_counts[static_cast<size_t>(bucket)];
        below += bucket < walked ? 1 : 0;
    }
    m_size -= count;
    m_below -= below;
}

inline uint32_t CKeyRankWindow::KeyOfRank(int rank)
{
    while (m_below > rank) m_below -= m_counts[static_cast<size_t>(--m_bucket)];
    while (m_below + m_counts[static_cast<size_t>(m_bucket)] <= rank) {
        m_below += m_counts[static_cast<size_t>(m_bucket++)];
    }
    return KeyOfRankInBucket(m_bucket, rank - m_below);
}
