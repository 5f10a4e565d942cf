#pragma once
// The comparison networks of the median's interior, planned at compile time.
//
// Every column of the window is sorted once per row. Sorted columns are merged
// pairwise into sorted runs of 2, 4, ... columns (Batcher's odd-even merge), each run
// once per column position, so that neighbouring pixels share every run they have in
// common. A pixel's window is then one run of 2r columns and one more sorted column,
// and the key of rank n/2 among two sorted lists is found without merging them.
//
// Each merge is pruned backwards to the positions its users read: a run that only
// feeds the last selection keeps a handful of its exchanges, and an exchange whose
// smaller (or larger) key nobody reads computes only the other one.

#include <algorithm>
#include <array>
#include <cstddef>
#include <vector>

namespace median_network {

inline constexpr int kMostKeys = 81;  // a 9 by 9 window
using KeyMask = std::array<bool, kMostKeys>;

// After it, wire low holds the smaller key and wire high the larger; a side nobody
// reads is not computed.
struct Exchange {
    int low = 0;
    int high = 0;
    bool keepLow = true;
    bool keepHigh = true;
};

constexpr std::vector<int> EveryOther(const std::vector<int>& wires, size_t first)
{
    std::vector<int> picked;
    for (size_t i = first; i < wires.size(); i += 2) picked.push_back(wires[i]);
    return picked;
}

// Batcher's odd-even merge of two sorted lists of any lengths: merges the even and the
// odd positions apart, then one exchange between neighbours settles every pair.
// Returns the wires in sorted order.
constexpr std::vector<int> MergeWires(const std::vector<int>& a, const std::vector<int>& b,
                                      std::vector<Exchange>& steps)
{
    if (a.empty()) return b;
    if (b.empty()) return a;
    if (a.size() == 1 && b.size() == 1) {
        steps.push_back({a[0], b[0]});
        return {a[0], b[0]};
    }
    const std::vector<int> evens = MergeWires(EveryOther(a, 0), EveryOther(b, 0), steps);
    const std::vector<int> odds = MergeWires(EveryOther(a, 1), EveryOther(b, 1), steps);
    std::vector<int> sorted{evens[0]};
    for (size_t i = 0; i < odds.size(); ++i) {
        if (i + 1 < evens.size()) steps.push_back({odds[i], evens[i + 1]});
        sorted.push_back(odds[i]);
        if (i + 1 < evens.size()) sorted.push_back(evens[i + 1]);
    }
    for (size_t i = odds.size() + 1; i < evens.size(); ++i) sorted.push_back(evens[i]);
    return sorted;
}

// A whole sort, for one column: halves sorted, then merged.
constexpr std::vector<int> SortWires(const std::vector<int>& wires, std::vector<Exchange>& steps)
{
    if (wires.size() <= 1) return wires;
    const auto half = static_cast<std::ptrdiff_t>(wires.size() / 2);
    return MergeWires(SortWires({wires.begin(), wires.begin() + half}, steps),
                      SortWires({wires.begin() + half, wires.end()}, steps), steps);
}

constexpr std::vector<int> Wires(int first, int count)
{
    std::vector<int> wires;
    for (int i = 0; i < count; ++i) wires.push_back(first + i);
    return wires;
}

// A network on wires 0 to left+right-1, pruned to the positions in wanted: the
// sorted position of each wire, the exchanges left, and which input wires they read.
struct Plan {
    std::vector<int> sorted;
    std::vector<Exchange> steps;
    KeyMask read{};
};

constexpr Plan Prune(const std::vector<int>& sorted, const std::vector<Exchange>& all, const KeyMask& wanted)
{
    Plan plan;
    plan.sorted = sorted;
    KeyMask live{};
    for (size_t position = 0; position < plan.sorted.size(); ++position) {
        live[static_cast<size_t>(plan.sorted[position])] = wanted[position];
    }
    for (size_t i = all.size(); i-- > 0;) {
        Exchange step = all[i];
        step.keepLow = live[static_cast<size_t>(step.low)];
        step.keepHigh = live[static_cast<size_t>(step.high)];
        if (!step.keepLow && !step.keepHigh) continue;
        live[static_cast<size_t>(step.low)] = live[static_cast<size_t>(step.high)] = true;
        plan.steps.insert(plan.steps.begin(), step);
    }
    plan.read = live;
    return plan;
}

constexpr Plan PlanMerge(int left, int right, const KeyMask& wanted)
{
    std::vector<Exchange> steps;
    const std::vector<int> sorted = MergeWires(Wires(0, left), Wires(left, right), steps);
    return Prune(sorted, steps, wanted);
}

constexpr Plan PlanSort(int count)
{
    std::vector<Exchange> steps;
    const std::vector<int> sorted = SortWires(Wires(0, count), steps);
    KeyMask all{};
    std::fill_n(all.begin(), count, true);
    return Prune(sorted, steps, all);
}

// The runs of one radius, each kept at every other column only: a run of 2r columns
// serves two windows, the one it starts and the one before, completed by the column
// after it or the column before it. So runs are indexed by pairs of columns. Run 0 is
// the sorted column, at the even and at the odd column of each pair; run 1 merges the
// two; every later run merges run left with run right offset pairs further on. The
// last run spans 2r columns.
struct Run {
    int columns = 1;
    int keys = 0;
    int left = 0;
    int right = 0;
    int offset = 0;  // in pairs of columns
    KeyMask wanted{};  // positions some later run or the selection reads
};

inline constexpr int kMostRuns = 5;

struct RunPlan {
    std::array<Run, kMostRuns> runs{};
    int count = 0;
};

constexpr int RunSpanning(const RunPlan& plan, int columns)
{
    for (int i = 0; i < plan.count; ++i) {
        if (plan.runs[static_cast<size_t>(i)].columns == columns) return i;
    }
    return -1;
}

constexpr void AddRun(RunPlan& plan, int left, int right)
{
    const Run& a = plan.runs[static_cast<size_t>(left)];
    const Run& b = plan.runs[static_cast<size_t>(right)];
    plan.runs[static_cast<size_t>(plan.count++)] = {a.columns + b.columns, a.keys + b.keys, left, right,
                                                     a.columns / 2, {}};
}

// The key of rank n/2 among the n = height x (2r+1) keys of a window whose rows may be
// clipped; with a sorted run A of 2r columns and the sorted column B that completes
// the window, it only depends on A's positions n/2 - height to n/2.
constexpr int SelectedRank(int radius, int height)
{
    return height * (2 * radius + 1) / 2;
}

constexpr RunPlan PlanRuns(int radius, int height)
{
    const int side = 2 * radius + 1;
    RunPlan plan;
    plan.runs[0] = {1, height, 0, 0, 0, {}};
    plan.count = 1;
    int top = 0;
    while (2 * plan.runs[static_cast<size_t>(top)].columns <= side - 1) {
        AddRun(plan, top, top);
        top = plan.count - 1;
    }
    const int rest = side - 1 - plan.runs[static_cast<size_t>(top)].columns;
    if (rest > 0) AddRun(plan, top, RunSpanning(plan, rest));
    Run& last = plan.runs[static_cast<size_t>(plan.count - 1)];
    const int rank = SelectedRank(radius, height);
    for (int position = rank - height; position <= rank; ++position) {
        last.wanted[static_cast<size_t>(position)] = true;
    }
    // What each run's pruned merge reads becomes wanted of the runs it merges; runs
    // only merge shorter runs, so going from the longest down sees every reader first.
    for (int i = plan.count - 1; i > 0; --i) {
        const Run run = plan.runs[static_cast<size_t>(i)];
        const int leftKeys = plan.runs[static_cast<size_t>(run.left)].keys;
        const Plan merge = PlanMerge(leftKeys, run.keys - leftKeys, run.wanted);
        for (int wire = 0; wire < run.keys; ++wire) {
            const bool isLeft = wire < leftKeys;
            Run& from = plan.runs[static_cast<size_t>(isLeft ? run.left : run.right)];
            from.wanted[static_cast<size_t>(isLeft ? wire : wire - leftKeys)] |= merge.read[static_cast<size_t>(wire)];
        }
    }
    return plan;
}

// Run index of the plan for the radius and the window's height: run 0 sorts a
// column, the others merge.
constexpr Plan PlanRun(int radius, int height, int index)
{
    const RunPlan plan = PlanRuns(radius, height);
    const Run& run = plan.runs[static_cast<size_t>(index)];
    if (index == 0) return PlanSort(run.keys);
    const int leftKeys = plan.runs[static_cast<size_t>(run.left)].keys;
    return PlanMerge(leftKeys, run.keys - leftKeys, run.wanted);
}

constexpr int StepsOfRun(int radius, int height, int index)
{
    return static_cast<int>(PlanRun(radius, height, index).steps.size());
}

// A run's plan in fixed-size arrays, for use at run time.
template <int Count, int Steps>
struct FrozenPlan {
    std::array<int, static_cast<size_t>(Count)> wireAt{};  // the wire holding each sorted position
    std::array<Exchange, static_cast<size_t>(Steps)> steps{};
    KeyMask read{};
};

template <int Count, int Steps>
constexpr FrozenPlan<Count, Steps> FreezeRun(int radius, int height, int index)
{
    const Plan plan = PlanRun(radius, height, index);
    FrozenPlan<Count, Steps> frozen;
    std::copy(plan.sorted.begin(), plan.sorted.end(), frozen.wireAt.begin());
    std::copy(plan.steps.begin(), plan.steps.end(), frozen.steps.begin());
    frozen.read = plan.read;
    return frozen;
}

} // namespace median_network
