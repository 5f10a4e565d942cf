#pragma once
// The median of the windows of one row that are not clipped left or right, written
// once over a lane policy: one key per lane, Min and Max on keys as unsigned 32-bit
// words. MedianKernel.cpp runs it one key at a time (the definition),
// MedianKernelSse2.cpp four and MedianKernelAvx2.cpp eight keys at a time. Every lane
// follows the same exchanges, so every variant picks the same keys.
//
// The row is cut into tiles whose runs stay in the first-level cache. Within a tile,
// runs are kept one sorted position to a line of column pairs, so a vector holds the
// same position of neighbouring pairs. Lanes past the tile's last column compute
// whatever the buffers' slack holds and are never stored.
//
// Internal linkage on purpose: a policy and every template instantiated with it
// exist only in the file compiled for its instruction set.

#include "filters/median/MedianKernel.h"
#include "filters/median/MedianNetwork.h"

#include <algorithm>
#include <cstdint>
#include <utility>

namespace {

namespace interior {

using median_network::Exchange;
using median_network::FrozenPlan;

inline constexpr int kTile = 128;
// Pairs of columns in each run's line: the tile's, the window's reach, a vector's
// overshoot and the longest offset a merge reads at.
inline constexpr int kLine = kTile / 2 + 32;

template <int Radius, int Height>
inline constexpr median_network::RunPlan kRuns = median_network::PlanRuns(Radius, Height);

template <int Radius, int Height, int Index>
struct RunNetwork {
    static constexpr median_network::Run kRun = kRuns<Radius, Height>.runs[Index];
    static constexpr int kLeftKeys = kRuns<Radius, Height>.runs[kRun.left].keys;
    static constexpr int kSteps = median_network::StepsOfRun(Radius, Height, Index);
    static constexpr FrozenPlan<kRun.keys, kSteps> kPlan =
        median_network::FreezeRun<kRun.keys, kSteps>(Radius, Height, Index);
};

// Where each run's lines start in the scratch: the sorted even columns, the sorted
// odd columns, the other runs, then two lines for the tile's results.
template <int Radius, int Height>
constexpr int FirstLineOf(int run)
{
    int lines = run > 0 ? kRuns<Radius, Height>.runs[0].keys : 0;
    for (int i = 0; i < run; ++i) lines += kRuns<Radius, Height>.runs[static_cast<size_t>(i)].keys;
    return lines;
}

template <int Radius, int Height>
constexpr size_t ScratchKeys()
{
    return static_cast<size_t>(FirstLineOf<Radius, Height>(kRuns<Radius, Height>.count) + 2) * kLine;
}

// The helpers below take every index as a template argument and are always inlined,
// so that a run's wires live in registers and its lines are constant offsets.
#define MEDIAN_INLINE [[gnu::always_inline]] inline

template <class Lanes, Exchange Step>
MEDIAN_INLINE void Apply(typename Lanes::Vector* wires)
{
    const auto a = wires[Step.low];
    const auto b = wires[Step.high];
    if constexpr (Step.keepLow) wires[Step.low] = Lanes::Min(a, b);
    if constexpr (Step.keepHigh) wires[Step.high] = Lanes::Max(a, b);
}

template <class Lanes, const auto& Plan, size_t... I>
MEDIAN_INLINE void ApplyAll(typename Lanes::Vector* wires, std::index_sequence<I...>)
{
    (Apply<Lanes, Plan.steps[I]>(wires), ...);
}

// The sorted columns are all read by the selection; of the merged runs, what the
// later runs and the selection read.
template <class Network, size_t Position>
constexpr bool kStored = Network::kRun.columns == 1 || Network::kRun.wanted[Position];

template <class Lanes, class Network, size_t Position>
MEDIAN_INLINE void StorePosition(const typename Lanes::Vector* wires, uint32_t* lines)
{
    if constexpr (kStored<Network, Position>) {
        Lanes::Store(lines + Position * kLine, wires[Network::kPlan.wireAt[Position]]);
    }
}

// Applies the run's exchanges to wires and stores the sorted positions that are read
// later to the run's lines.
template <class Lanes, int Radius, int Height, int Index, size_t... Position>
MEDIAN_INLINE void SortAndStore(typename Lanes::Vector* wires, uint32_t* lines, std::index_sequence<Position...>)
{
    using Network = RunNetwork<Radius, Height, Index>;
    ApplyAll<Lanes, Network::kPlan>(wires, std::make_index_sequence<static_cast<size_t>(Network::kSteps)>());
    (StorePosition<Lanes, Network, Position>(wires, lines), ...);
}

// Run 0: each column of the keyed rows sorted, the even and the odd columns of each
// pair apart.
template <class Lanes, int Radius, int Height, size_t... Row>
void SortColumns(const uint32_t* const* rows, int first, int pairs, uint32_t* scratch, std::index_sequence<Row...>)
{
    for (int pair = 0; pair < pairs; pair += Lanes::kLanes) {
        typename Lanes::Vector even[Height];
        typename Lanes::Vector odd[Height];
        (Lanes::LoadEvenOdd(rows[Row] + first + 2 * pair, even[Row], odd[Row]), ...);
        SortAndStore<Lanes, Radius, Height, 0>(even, scratch + pair, std::index_sequence<Row...>());
        SortAndStore<Lanes, Radius, Height, 0>(odd, scratch + Height * kLine + pair, std::index_sequence<Row...>());
    }
}

// Where a merge's wire is read: the left run's line at the same pair, or the right
// run's line offset pairs on. Run 1 pairs the even columns with the odd ones.
template <int Radius, int Height, int Index>
constexpr size_t InputOffset(size_t wire)
{
    using Network = RunNetwork<Radius, Height, Index>;
    constexpr median_network::Run run = Network::kRun;
    const auto leftKeys = static_cast<size_t>(Network::kLeftKeys);
    if (wire < leftKeys) return (static_cast<size_t>(FirstLineOf<Radius, Height>(run.left)) + wire) * kLine;
    const int rightLine = FirstLineOf<Radius, Height>(run.right) + (run.right == 0 ? Height : 0);
    return (static_cast<size_t>(rightLine) + wire - leftKeys) * kLine + static_cast<size_t>(run.offset);
}

template <class Lanes, int Radius, int Height, int Index, size_t Wire>
MEDIAN_INLINE void LoadWire(typename Lanes::Vector* wires, const uint32_t* scratch)
{
    if constexpr (RunNetwork<Radius, Height, Index>::kPlan.read[Wire]) {
        wires[Wire] = Lanes::Load(scratch + InputOffset<Radius, Height, Index>(Wire));
    }
}

// Run Index > 0 from the lines of the two runs it merges. Only the wires the pruned
// exchanges read are loaded.
template <class Lanes, int Radius, int Height, int Index, size_t... Wire>
void MergeRun(int pairs, uint32_t* scratch, std::index_sequence<Wire...> wires)
{
    uint32_t* lines = scratch + FirstLineOf<Radius, Height>(Index) * kLine;
    for (int pair = 0; pair < pairs; pair += Lanes::kLanes) {
        typename Lanes::Vector keys[sizeof...(Wire)]{};
        (LoadWire<Lanes, Radius, Height, Index, Wire>(keys, scratch + pair), ...);
        SortAndStore<Lanes, Radius, Height, Index>(keys, lines + pair, wires);
    }
}

template <class Lanes, int Radius, int Height, int... Index>
void MergeRuns(int pairs, uint32_t* scratch, std::integer_sequence<int, 0, Index...>)
{
    (MergeRun<Lanes, Radius, Height, Index>(pairs, scratch, std::make_index_sequence<static_cast<size_t>(
                                                        kRuns<Radius, Height>.runs[Index].keys)>()),
     ...);
}

// The key of rank R among the run A of 2r columns and the sorted column B that
// completes the window is the smallest of A[R] and of max(A[R - t], B[t - 1]) for t
// from 1 to B's size, the window's height: each term has at least R+1 keys at or
// below it, and the term whose split matches the R+1 smallest keys is the key itself.
template <class Lanes, int Radius, int Height>
typename Lanes::Vector SelectFrom(const uint32_t* run, const uint32_t* column)
{
    constexpr int rank = median_network::SelectedRank(Radius, Height);
    auto key = Lanes::Load(run + rank * kLine);
    for (int t = 1; t <= Height; ++t) {
        key = Lanes::Min(key, Lanes::Max(Lanes::Load(run + (rank - t) * kLine), Lanes::Load(column + (t - 1) * kLine)));
    }
    return key;
}

// Whole vectors of results go straight to out; the last few through the results
// line. store writes one vector's worth at the given address.
template <class Store>
MEDIAN_INLINE void StoreResults(uint32_t* out, int left, int vector, uint32_t* results, Store store)
{
    if (left >= vector) {
        store(out);
        return;
    }
    store(results);
    std::copy_n(results, left, out);
}

// The run starting at pair i serves the window at the tile's column 2i with the even
// column after it, and the window at column 2i - 1 with the odd column before it.
template <class Lanes, int Radius, int Height>
void SelectTile(uint32_t* scratch, int count, uint32_t* out)
{
    const uint32_t* run = scratch + FirstLineOf<Radius, Height>(kRuns<Radius, Height>.count - 1) * kLine;
    const uint32_t* even = scratch;
    const uint32_t* odd = scratch + Height * kLine;
    uint32_t* results = scratch + FirstLineOf<Radius, Height>(kRuns<Radius, Height>.count) * kLine;
    for (int pair = 0; 2 * pair < count; pair += Lanes::kLanes) {
        const auto evenKeys = SelectFrom<Lanes, Radius, Height>(run + pair, even + Radius + pair);
        const auto oddKeys = SelectFrom<Lanes, Radius, Height>(run + pair + 1, odd + pair);
        StoreResults(out + 2 * pair, count - 2 * pair, 2 * Lanes::kLanes, results,
                     [&](uint32_t* at) { Lanes::StoreInterleaved(at, evenKeys, oddKeys); });
    }
}

template <class Lanes>
MEDIAN_INLINE typename Lanes::Vector MedianOfThree(typename Lanes::Vector a, typename Lanes::Vector b,
                                                   typename Lanes::Vector c)
{
    return Lanes::Max(Lanes::Min(a, b), Lanes::Min(Lanes::Max(a, b), c));
}

// Radius 1 with full windows needs neither pairs nor runs: each column sorted once
// serves three windows, and the fifth of nine keys given as three sorted columns is
// at least the largest column minimum, at most the smallest column maximum, and the
// median of the three column middles settles it between them.
template <class Lanes>
void NineTile(const uint32_t* const* rows, int first, int count, uint32_t* scratch, uint32_t* out)
{
    constexpr int line = 2 * kLine;
    uint32_t* low = scratch;
    uint32_t* middle = scratch + line;
    uint32_t* high = scratch + 2 * line;
    uint32_t* results = scratch + 3 * line;
    for (int column = 0; column < count + 2; column += Lanes::kLanes) {
        const auto a = Lanes::Load(rows[0] + first + column);
        const auto b = Lanes::Load(rows[1] + first + column);
        const auto c = Lanes::Load(rows[2] + first + column);
        Lanes::Store(low + column, Lanes::Min(Lanes::Min(a, b), c));
        Lanes::Store(middle + column, MedianOfThree<Lanes>(a, b, c));
        Lanes::Store(high + column, Lanes::Max(Lanes::Max(a, b), c));
    }
    for (int column = 0; column < count; column += Lanes::kLanes) {
        const auto lowest = Lanes::Max(Lanes::Max(Lanes::Load(low + column), Lanes::Load(low + column + 1)),
                                       Lanes::Load(low + column + 2));
        const auto highest = Lanes::Min(Lanes::Min(Lanes::Load(high + column), Lanes::Load(high + column + 1)),
                                        Lanes::Load(high + column + 2));
        const auto middles = MedianOfThree<Lanes>(Lanes::Load(middle + column), Lanes::Load(middle + column + 1),
                                                  Lanes::Load(middle + column + 2));
        const auto key = MedianOfThree<Lanes>(lowest, middles, highest);
        StoreResults(out + column, count - column, Lanes::kLanes, results,
                     [&](uint32_t* at) { Lanes::Store(at, key); });
    }
}

template <class Lanes, int Radius, int Height>
void InteriorRow(const uint32_t* const* rows, int width, uint32_t* out, uint32_t* scratch)
{
    for (int x = Radius; x < width - Radius; x += kTile) {
        const int count = std::min(kTile, width - Radius - x);
        if constexpr (Radius == 1 && Height == 3) {
            NineTile<Lanes>(rows, x - Radius, count, scratch, out + x);
        } else {
            const int pairs = (count + 1) / 2 + Radius + 1;
            SortColumns<Lanes, Radius, Height>(rows, x - Radius, pairs, scratch, std::make_index_sequence<Height>());
            MergeRuns<Lanes, Radius, Height>(pairs, scratch,
                                             std::make_integer_sequence<int, kRuns<Radius, Height>.count>());
            SelectTile<Lanes, Radius, Height>(scratch, count, out + x);
        }
    }
}

#undef MEDIAN_INLINE

} // namespace interior

// Whole vectors of pixels keyed at a time, the rest one by one. A line of the next
// row is asked for (into the second-level cache) every 64 bytes keyed: measured on a
// 12 MP radius-1 median, 10.0 ms without, 7.4 ms with, and 9.6 ms with the lines
// asked into the first level.
template <class Lanes>
void KeyRowWith(const uint32_t* row, int width, uint32_t* keyed, const uint32_t* next)
{
    constexpr int kPixelsPerLine = 16;
    static_assert(kPixelsPerLine % Lanes::kLanes == 0);
    int x = 0;
    for (; x + Lanes::kLanes <= width; x += Lanes::kLanes) {
        if (next != nullptr && x % kPixelsPerLine == 0) __builtin_prefetch(next + x, 0, 2);
        Lanes::Store(keyed + x, Lanes::Keyed(Lanes::Load(row + x)));
    }
    for (; x < width; ++x) keyed[x] = (row[x] & 0x00FFFFFFu) | LumaOf(row[x]) << 24;
}

// Heights from r+1 (a window at the top or bottom edge) to 2r+1 (a full one).
template <class Lanes, int Radius, int... Clipped>
void InteriorRowOfHeight(const uint32_t* const* rows, int rowCount, int width, uint32_t* out, uint32_t* scratch,
                         std::integer_sequence<int, Clipped...>)
{
    constexpr int side = 2 * Radius + 1;
    ((rowCount == side - Clipped ? interior::InteriorRow<Lanes, Radius, side - Clipped>(rows, width, out, scratch)
                                 : void()),
     ...);
}

template <class Lanes>
void MedianInteriorRowWith(const uint32_t* const* rows, int rowCount, int width, int radius, uint32_t* out,
                           uint32_t* scratch)
{
    switch (radius) {
    case 1: InteriorRowOfHeight<Lanes, 1>(rows, rowCount, width, out, scratch, std::make_integer_sequence<int, 2>()); break;
    case 2: InteriorRowOfHeight<Lanes, 2>(rows, rowCount, width, out, scratch, std::make_integer_sequence<int, 3>()); break;
    case 3: InteriorRowOfHeight<Lanes, 3>(rows, rowCount, width, out, scratch, std::make_integer_sequence<int, 4>()); break;
    default: InteriorRowOfHeight<Lanes, 4>(rows, rowCount, width, out, scratch, std::make_integer_sequence<int, 5>()); break;
    }
}

} // namespace
