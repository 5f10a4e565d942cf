#pragma once
// The median of the full windows of one row, written once over a lane policy: one
// key per lane, Min and Max on keys as unsigned 32-bit words. MedianKernel.cpp runs
// it one key at a time (the definition), MedianKernelSse2.cpp four and
// MedianKernelAvx2.cpp eight keys at a time. Every lane follows the same exchanges,
// so every variant picks the same keys.
//
// The row is cut into tiles whose runs stay in the first-level cache. Within a tile,
// runs are kept one sorted position to a line of columns, so a vector holds the same
// position of neighbouring columns. Lanes past the tile's last column compute
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
// Columns of each run's line beyond the tile: the window's reach, a vector's
// overshoot and the longest offset a merge reads at.
inline constexpr int kLine = kTile + 2 * kMaximumMedianRadius + 24;

template <int Radius>
inline constexpr median_network::RunPlan kRuns = median_network::PlanRuns(Radius);

template <int Radius, int Index>
struct RunNetwork {
    static constexpr median_network::Run kRun = kRuns<Radius>.runs[Index];
    static constexpr int kLeftKeys = kRuns<Radius>.runs[kRun.left].keys;
    static constexpr FrozenPlan<kRun.keys> kPlan = median_network::FreezeRun<kRun.keys>(Radius, Index);
    static_assert(kPlan.stepCount <= static_cast<int>(kPlan.steps.size()));
};

// Where each run's lines start in the scratch: the runs one after the other, then the
// tile's results.
template <int Radius>
constexpr int FirstLineOf(int run)
{
    int lines = 0;
    for (int i = 0; i < run; ++i) lines += kRuns<Radius>.runs[static_cast<size_t>(i)].keys;
    return lines;
}

template <int Radius>
constexpr size_t ScratchKeys()
{
    return static_cast<size_t>(FirstLineOf<Radius>(kRuns<Radius>.count) + 1) * kLine;
}

template <class Lanes, Exchange Step>
inline void Apply(typename Lanes::Vector* wires)
{
    const auto a = wires[Step.low];
    const auto b = wires[Step.high];
    if constexpr (Step.keepLow) wires[Step.low] = Lanes::Min(a, b);
    if constexpr (Step.keepHigh) wires[Step.high] = Lanes::Max(a, b);
}

template <class Lanes, const auto& Plan, size_t... I>
inline void ApplyAll(typename Lanes::Vector* wires, std::index_sequence<I...>)
{
    (Apply<Lanes, Plan.steps[I]>(wires), ...);
}

// Loads the wires the plan reads from the run's inputs, applies its exchanges and
// stores the wanted sorted positions to their lines.
template <class Lanes, int Radius, int Index, size_t... Wire>
inline void MergeAt(const uint32_t* const* inputs, int column, uint32_t* lines, std::index_sequence<Wire...>)
{
    using Network = RunNetwork<Radius, Index>;
    typename Lanes::Vector wires[sizeof...(Wire)]{};
    const auto load = [&](size_t wire) {
        if (Network::kPlan.read[wire]) wires[wire] = Lanes::Load(inputs[wire] + column);
    };
    (load(Wire), ...);
    ApplyAll<Lanes, Network::kPlan>(wires, std::make_index_sequence<static_cast<size_t>(Network::kPlan.stepCount)>());
    const auto store = [&](size_t position) {
        if (Index == 0 || Network::kRun.wanted[position]) {
            Lanes::Store(lines + position * kLine + column, wires[Network::kPlan.wireAt[position]]);
        }
    };
    (store(Wire), ...);
}

// The run's sorted lists for columns 0 to count-1 of the tile: run 0 from the keyed
// rows, the others from the lines of the two runs they merge.
template <class Lanes, int Radius, int Index>
void MergeRun(const uint32_t* const* rows, int first, int count, uint32_t* scratch)
{
    using Network = RunNetwork<Radius, Index>;
    constexpr int keys = Network::kRun.keys;
    const uint32_t* inputs[keys]{};
    for (int wire = 0; wire < keys; ++wire) {
        if constexpr (Index == 0) {
            inputs[wire] = rows[wire] + first;
        } else if (wire < Network::kLeftKeys) {
            inputs[wire] = scratch + (FirstLineOf<Radius>(Network::kRun.left) + wire) * kLine;
        } else {
            inputs[wire] = scratch + (FirstLineOf<Radius>(Network::kRun.right) + wire - Network::kLeftKeys) * kLine +
                           Network::kRun.offset;
        }
    }
    uint32_t* lines = scratch + FirstLineOf<Radius>(Index) * kLine;
    for (int column = 0; column < count; column += Lanes::kLanes) {
        MergeAt<Lanes, Radius, Index>(inputs, column, lines, std::make_index_sequence<static_cast<size_t>(keys)>());
    }
}

template <class Lanes, int Radius, int... Index>
void MergeRuns(const uint32_t* const* rows, int first, int count, uint32_t* scratch,
               std::integer_sequence<int, Index...>)
{
    (MergeRun<Lanes, Radius, Index>(rows, first, count, scratch), ...);
}

// The key of rank R among the run A of 2r columns and the sorted column B that
// completes the window is the smallest of A[R] and of max(A[R - t], B[t - 1]) for t
// from 1 to 2r+1: each term has at least R+1 keys at or below it, and the term whose
// split matches the R+1 smallest keys is the key itself.
template <class Lanes, int Radius>
void SelectTile(uint32_t* scratch, int count, uint32_t* out)
{
    constexpr int side = 2 * Radius + 1;
    constexpr int rank = median_network::SelectedRank(Radius);
    const uint32_t* run = scratch + FirstLineOf<Radius>(kRuns<Radius>.count - 1) * kLine;
    const uint32_t* column = scratch + 2 * Radius;
    uint32_t* results = scratch + FirstLineOf<Radius>(kRuns<Radius>.count) * kLine;
    for (int x = 0; x < count; x += Lanes::kLanes) {
        auto key = Lanes::Load(run + rank * kLine + x);
        for (int t = 1; t <= side; ++t) {
            key = Lanes::Min(key, Lanes::Max(Lanes::Load(run + (rank - t) * kLine + x),
                                             Lanes::Load(column + (t - 1) * kLine + x)));
        }
        Lanes::Store(results + x, key);
    }
    std::copy_n(results, count, out);
}

template <class Lanes, int Radius>
void InteriorRow(const uint32_t* const* rows, int width, uint32_t* out, uint32_t* scratch)
{
    for (int x = Radius; x < width - Radius; x += kTile) {
        const int count = std::min(kTile, width - Radius - x);
        MergeRuns<Lanes, Radius>(rows, x - Radius, count + 2 * Radius, scratch,
                                 std::make_integer_sequence<int, kRuns<Radius>.count>());
        SelectTile<Lanes, Radius>(scratch, count, out + x);
    }
}

} // namespace interior

template <class Lanes>
void MedianInteriorRowWith(const uint32_t* const* rows, int width, int radius, uint32_t* out, uint32_t* scratch)
{
    switch (radius) {
    case 1: interior::InteriorRow<Lanes, 1>(rows, width, out, scratch); break;
    case 2: interior::InteriorRow<Lanes, 2>(rows, width, out, scratch); break;
    case 3: interior::InteriorRow<Lanes, 3>(rows, width, out, scratch); break;
    default: interior::InteriorRow<Lanes, 4>(rows, width, out, scratch); break;
    }
}

} // namespace
