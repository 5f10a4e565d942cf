// The per-phase weight tables of the plane resampler, pinned on rows worked out by
// hand from the kernel formulas.

#include "filters/resize/ResizeKernelFunctions.h"
#include "filters/resize/ResizeKernelWeights.h"

#include <gtest/gtest.h>

#include <numeric>
#include <random>
#include <vector>

namespace {

std::vector<int> WeightRow(uint32_t sourceSize, uint32_t destinationSize, int mode, uint32_t phase)
{
    ResizeKernel kernel = nullptr;
    int radius = 0;
    EXPECT_TRUE(KernelOfMode(mode, kernel, radius));
    CResizeWeights weights;
    EXPECT_TRUE(weights.Build(sourceSize, destinationSize, kernel, radius));
    const int16_t* row = weights.Row(phase);
    return std::vector<int>(row, row + weights.Taps());
}

struct WorkedRow {
    const char* label;
    uint32_t sourceSize;
    uint32_t destinationSize;
    int mode;
    uint32_t phase;
    std::vector<int> weights;
};

}  // namespace

TEST(ResizeWeights, WorkedRows)
{
    const std::vector<WorkedRow> rows = {
        {"triangle 8 to 15, phase 0", 8, 15, 3, 0, {128, 0}},
        {"triangle 8 to 15, phase 1", 8, 15, 3, 1, {119, 9}},
        {"triangle 8 to 15, phase 2", 8, 15, 3, 2, {110, 18}},
        {"triangle 101 to 51", 101, 51, 3, 0, {32, 64, 32, 0}},
        {"Lanczos 8 to 15, phase 0", 8, 15, 5, 0, {0, 0, 128, 0, 0, 0}},
        {"Lanczos 8 to 15, phase 1", 8, 15, 5, 1, {1, -6, 127, 8, -2, 0}},
        {"Mitchell-Netravali at equal size", 8, 8, 4, 0, {7, 114, 7, 0}},
        // 8 to 9, phase 2 (f = 1/4): the real weights -0.0234, 0.7812, 0.2539, -0.0117
        // truncate to -2, 99, 32, -1 when the cubic is evaluated in Horner's form.
        {"Mitchell-Netravali 8 to 9, phase 2", 8, 9, 4, 2, {-3, 100, 32, -1}},
    };
    for (const WorkedRow& row : rows) {
        EXPECT_EQ(WeightRow(row.sourceSize, row.destinationSize, row.mode, row.phase), row.weights) << row.label;
    }
}

TEST(ResizeWeights, TapCountsFollowTheStretchedRadius)
{
    const struct {
        uint32_t sourceSize;
        uint32_t destinationSize;
        int mode;
        int taps;
    } cases[] = {
        {8, 15, 3, 2},                                     // enlargement: the kernel as it is
        {8, 15, 4, 4},       {8, 15, 5, 6}, {9, 8, 3, 4},  // s = 8/7: trunc(1.14 + 0.99) = 2
        {101, 51, 4, 8},                                   // s = 2: trunc(4.99) = 4
        {4000, 100, 5, 244},                               // s = 3999/99: trunc(121.18 + 0.99) = 122
    };
    for (const auto& expected : cases) {
        ResizeKernel kernel = nullptr;
        int radius = 0;
        ASSERT_TRUE(KernelOfMode(expected.mode, kernel, radius));
        CResizeWeights weights;
        ASSERT_TRUE(weights.Build(expected.sourceSize, expected.destinationSize, kernel, radius));
        EXPECT_EQ(weights.Taps(), expected.taps) << expected.sourceSize << " to " << expected.destinationSize;
        EXPECT_EQ(weights.Phases(), expected.destinationSize - 1);
    }
}

TEST(ResizeWeights, EveryRowSumsTo128)
{
    std::mt19937 random(2202);
    std::uniform_int_distribution<uint32_t> size(8, 700);
    std::vector<std::pair<uint32_t, uint32_t>> pairs = {{4000, 100}, {100, 4000}, {8, 8}, {9, 8}, {32000, 8}};
    for (int i = 0; i < 60; ++i) pairs.emplace_back(size(random), size(random));
    for (int mode = 3; mode <= 5; ++mode) {
        ResizeKernel kernel = nullptr;
        int radius = 0;
        ASSERT_TRUE(KernelOfMode(mode, kernel, radius));
        for (const auto& [from, to] : pairs) {
            CResizeWeights weights;
            ASSERT_TRUE(weights.Build(from, to, kernel, radius));
            for (uint32_t phase = 0; phase < weights.Phases(); ++phase) {
                const int16_t* row = weights.Row(phase);
                ASSERT_EQ(std::accumulate(row, row + weights.Taps(), 0), 128)
                    << "mode " << mode << ", " << from << " to " << to << ", phase " << phase;
            }
        }
    }
}

// Narrow weights exist for the triangle's reductions only: its enlargements put 128
// on one tap at phase 0, the other kernels have negative lobes.
TEST(ResizeWeights, NarrowCopyOnlyWhereEveryWeightFitsASignedByte)
{
    const auto narrow = [](uint32_t from, uint32_t to, int mode) {
        ResizeKernel kernel = nullptr;
        int radius = 0;
        EXPECT_TRUE(KernelOfMode(mode, kernel, radius));
        CResizeWeights weights;
        EXPECT_TRUE(weights.Build(from, to, kernel, radius));
        if (weights.NarrowData() == nullptr) return false;
        for (uint32_t phase = 0; phase < weights.Phases(); ++phase) {
            for (int t = 0; t < weights.NarrowTaps(); ++t) {
                const int expected = t < weights.Taps() ? weights.Row(phase)[t] : 0;
                EXPECT_EQ(weights.NarrowRow(phase)[t], expected) << phase << ", tap " << t;
            }
        }
        return true;
    };
    EXPECT_TRUE(narrow(4000, 2000, kResizeBartlett));
    EXPECT_TRUE(narrow(101, 17, kResizeBartlett));
    EXPECT_FALSE(narrow(100, 400, kResizeBartlett));
    EXPECT_FALSE(narrow(4000, 2000, kResizeMitchellNetravali));
    EXPECT_FALSE(narrow(4000, 2000, kResizeLanczos));
}

