#pragma once
// How many keys of each luma a median window holds, kept up to date while whole
// columns of keys enter and leave as the window slides along a row. It answers in
// which luma the key of a given rank lies, and its rank among the keys of that luma;
// the colours that settle the order within one luma are left to the caller, who has
// the window's pixels at hand.

#include <array>
#include <cstddef>
#include <cstdint>

struct LumaRank {
    uint32_t luma;
    int rank;  // among the window's keys of that luma
};

class CLumaRankWindow {
public:
    CLumaRankWindow() { Clear(); }

    void Clear();
    // Counts the keys rows[i][column], i below rowCount, in or out of the window.
    void Enter(const uint32_t* const* rows, int rowCount, int column) { Count(rows, rowCount, column, 1); }
    void Leave(const uint32_t* const* rows, int rowCount, int column) { Count(rows, rowCount, column, -1); }
    int Size() const { return m_size; }
    // 0 is the smallest key; rank must be below Size(). Walks from the previous
    // answer's luma, which in a photograph is close by.
    LumaRank Locate(int rank);

private:
    static constexpr int kLumas = 256;

    void Count(const uint32_t* const* rows, int rowCount, int column, int step);

    std::array<int, kLumas> m_counts{};
    int m_size = 0;
    // The walk's position: the keys of lumas below m_luma, m_below of them, are smaller.
    int m_luma = 0;
    int m_below = 0;
};

inline void CLumaRankWindow::Count(const uint32_t* const* rows, int rowCount, int column, int step)
{
    int below = 0;
    for (int i = 0; i < rowCount; ++i) {
        const auto luma = static_cast<int>(rows[i][column] >> 24);
        m_counts[static_cast<size_t>(luma)] += step;
        below += luma < m_luma ? 1 : 0;
    }
    m_size += step * rowCount;
    m_below += step * below;
}

inline LumaRank CLumaRankWindow::Locate(int rank)
{
    // The answer seldom moves more than a luma or two: a few steps taken without
    // branching cost less than the branches a walk would mispredict.
    for (int step = 0; step < 2; ++step) {
        const bool down = m_below > rank;
        m_luma -= down ? 1 : 0;
        m_below -= down ? m_counts[static_cast<size_t>(m_luma)] : 0;
        const bool up = m_below + m_counts[static_cast<size_t>(m_luma)] <= rank;
        m_below += up ? m_counts[static_cast<size_t>(m_luma)] : 0;
        m_luma += up ? 1 : 0;
    }
    while (m_below > rank) m_below -= m_counts[static_cast<size_t>(--m_luma)];
    while (m_below + m_counts[static_cast<size_t>(m_luma)] <= rank) {
        m_below += m_counts[static_cast<size_t>(m_luma++)];
    }
    return {static_cast<uint32_t>(m_luma), rank - m_below};
}
