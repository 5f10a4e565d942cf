// Every vector variant of the resampler's passes gives the portable bytes, on real
// weight tables of many size pairs, on extreme weights that clamp, and on lines of
// one pixel on; the narrow passes on the triangle's reductions and on narrow tables
// whose sums reach the largest a row can hold; the two-tap pass on the triangle's
// enlargements and on weights that clamp. A variant the processor cannot run is
// skipped.

#include "filters/resize/ResizeKernelColumns.h"
#include "filters/resize/ResizeKernelPasses.h"
#include "filters/resize/ResizeKernelWeights.h"
#include "tests/shared/KernelVariants.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

namespace {

struct Variant : kernel_variants::Named {
    ResizePasses (*passes)(int bitsPerPixel);
};

class ResizePassVariants : public KernelVariantTest<Variant> {};

std::vector<uint8_t> RandomBytes(size_t count, std::mt19937& random)
{
    std::uniform_int_distribution<int> byte(0, 255);
    std::vector<uint8_t> bytes(count);
    for (uint8_t& value : bytes) value = static_cast<uint8_t>(byte(random));
    return bytes;
}

// Weights far beyond a real table's, so that sums leave 0 .. 255 both ways.
std::vector<int16_t> ExtremeWeights(size_t count, std::mt19937& random)
{
    std::uniform_int_distribution<int> weight(-600, 600);
    std::vector<int16_t> weights(count);
    for (int16_t& value : weights) value = static_cast<int16_t>(weight(random));
    return weights;
}

// A line of width destination pixels read from sourceWidth padded source pixels,
// pixel k at k numerator / denominator.
struct LineCase {
    uint32_t sourceWidth;
    uint32_t width;
    int taps;
    const int16_t* table;
    uint32_t numerator;
    uint32_t denominator;
};

// The corner-aligned mapping the resampler uses.
LineCase CornerAligned(uint32_t sourceWidth, uint32_t width, int taps, const int16_t* table)
{
    return {sourceWidth, width, taps, table, sourceWidth - 1, width - 1};
}

std::string Describe(const Variant& variant, int bitsPerPixel, const LineCase& line)
{
    return std::string(variant.name) + ", " + std::to_string(bitsPerPixel) + " bits, " +
           std::to_string(line.sourceWidth) + " to " + std::to_string(line.width) + ", " + std::to_string(line.taps) +
           " taps";
}

void ExpectSameLines(const Variant& variant, const LineCase& line, std::mt19937& random)
{
    for (int bitsPerPixel : {8, 32}) {
        const size_t pixelBytes = static_cast<size_t>(bitsPerPixel / 8);
        const std::vector<uint8_t> padded = RandomBytes((line.sourceWidth + line.taps) * pixelBytes, random);
        std::vector<uint8_t> expected(line.width * pixelBytes);
        PortableResizePasses(bitsPerPixel)
            .horizontal(padded.data(), line.table, line.taps, line.numerator, line.denominator, expected.data(),
                        line.width);
        std::vector<uint8_t> actual(expected.size() + 4, 0xEE);
        variant.passes(bitsPerPixel)
            .horizontal(padded.data(), line.table, line.taps, line.numerator, line.denominator, actual.data(),
                        line.width);
        ASSERT_TRUE(std::equal(expected.begin(), expected.end(), actual.begin()))
            << Describe(variant, bitsPerPixel, line);
        ASSERT_EQ(actual.back(), 0xEE) << "wrote past the row: " << Describe(variant, bitsPerPixel, line);
    }
}

void ExpectSameColumns(const Variant& variant, const int16_t* weights, int taps, size_t bytes, std::mt19937& random)
{
    const size_t stride = bytes + 3;
    const std::vector<uint8_t> rows = RandomBytes(stride * static_cast<size_t>(taps), random);
    std::vector<uint8_t> expected(bytes);
    FilterColumnsPortable(rows.data(), stride, weights, taps, expected.data(), bytes);
    std::vector<uint8_t> actual(bytes + 1, 0xEE);
    variant.passes(32).vertical(rows.data(), stride, weights, taps, actual.data(), bytes);
    ASSERT_TRUE(std::equal(expected.begin(), expected.end(), actual.begin()))
        << variant.name << ", " << taps << " taps, " << bytes << " bytes";
    ASSERT_EQ(actual.back(), 0xEE) << variant.name << " wrote past the line";
}

}  // namespace

INSTANTIATE_TEST_SUITE_P(Each, ResizePassVariants,
                         testing::Values(Variant{{"Sse2", "SSE2"}, &Sse2ResizePasses},
                                         Variant{{"Avx2", "AVX2"}, &Avx2ResizePasses}),
                         NameOfVariant());

TEST_P(ResizePassVariants, HorizontalMatchesThePortableLoopOnRealTables)
{
    std::mt19937 random(4000100);
    std::uniform_int_distribution<uint32_t> size(8, 300);
    std::vector<std::pair<uint32_t, uint32_t>> pairs = {{4000, 100}, {100, 4000}, {8, 15}, {9, 8}, {8, 8}};
    for (int i = 0; i < 40; ++i) pairs.emplace_back(size(random), size(random));
    for (ResizeKernel kernel : {&TriangleKernel, &MitchellNetravaliKernel, &LanczosKernel}) {
        const int radius = kernel == &TriangleKernel ? 1 : kernel == &LanczosKernel ? 3 : 2;
        for (const auto& [from, to] : pairs) {
            CResizeWeights table;
            ASSERT_TRUE(table.Build(from, to, kernel, radius));
            ExpectSameLines(GetParam(), CornerAligned(from, to, table.Taps(), table.Data()), random);
        }
    }
}

TEST_P(ResizePassVariants, HorizontalMatchesThePortableLoopWhenSumsClamp)
{
    std::mt19937 random(255);
    for (int round = 0; round < 60; ++round) {
        const int taps = 2 * (1 + round % 13);
        const uint32_t from = 8 + static_cast<uint32_t>(random() % 50);
        const uint32_t to = 8 + static_cast<uint32_t>(random() % 50);
        const std::vector<int16_t> table = ExtremeWeights(static_cast<size_t>(to - 1) * taps, random);
        ExpectSameLines(GetParam(), CornerAligned(from, to, taps, table.data()), random);
    }
}

TEST_P(ResizePassVariants, VerticalMatchesThePortableLoop)
{
    std::mt19937 random(42);
    CResizeWeights strong;
    ASSERT_TRUE(strong.Build(4000, 100, &LanczosKernel, 3));
    for (uint32_t phase = 0; phase < strong.Phases(); phase += 7) {
        ExpectSameColumns(GetParam(), strong.Row(phase), strong.Taps(), 100 + phase, random);
    }
    for (int round = 0; round < 200; ++round) {
        const int taps = 2 * (1 + round % 9);
        const size_t bytes = static_cast<size_t>(round % 101);  // below, at and beyond whole vectors
        const std::vector<int16_t> weights = ExtremeWeights(static_cast<size_t>(taps), random);
        ExpectSameColumns(GetParam(), weights.data(), taps, bytes, random);
    }
}

// One to five destination pixels (an odd last pixel shares no vector with another)
// from a short line, under shrinking, copying and enlarging steps.
TEST_P(ResizePassVariants, HorizontalMatchesThePortableLoopOnShortLines)
{
    std::mt19937 random(7);
    for (const int taps : {2, 4, 6, 8}) {
        for (const auto& [numerator, denominator] : {std::pair{3u, 2u}, {1u, 1u}, {2u, 5u}}) {
            const std::vector<int16_t> table = ExtremeWeights(static_cast<size_t>(denominator) * taps, random);
            for (uint32_t width = 1; width <= 5; ++width) {
                const uint32_t sourceWidth = width * numerator / denominator + 1;
                ExpectSameLines(GetParam(), {sourceWidth, width, taps, table.data(), numerator, denominator}, random);
            }
        }
    }
}

namespace {

// A table of narrow rows: weights 0 .. 127 summing to 128, the largest a narrow row
// may hold, with one weight of 127 in every other row; and its copy as signed bytes
// in rows of taps rounded up to four.
struct NarrowTable {
    std::vector<int16_t> wide;
    std::vector<int8_t> narrow;
    int taps = 0;
    int narrowTaps = 0;
};

NarrowTable RandomNarrowTable(uint32_t phases, int taps, std::mt19937& random)
{
    NarrowTable table{{}, {}, taps, (taps + 3) / 4 * 4};
    table.narrow.assign(static_cast<size_t>(phases) * table.narrowTaps, 0);
    for (uint32_t phase = 0; phase < phases; ++phase) {
        // One tap cannot hold 128: it gets the largest byte.
        std::vector<int> row(static_cast<size_t>(taps), 0);
        int left = taps == 1 ? 127 : 128;
        if (phase % 2 == 0) {
            const size_t strongest = random() % row.size();
            row[strongest] = 127;
            left -= 127;
            if (left > 0) row[(strongest + 1) % row.size()] = left;
            left = 0;
        }
        while (left > 0) {
            int& weight = row[random() % row.size()];
            const int add = std::min({left, 127 - weight, 1 + static_cast<int>(random() % 40)});
            weight += add;
            left -= add;
        }
        for (int t = 0; t < taps; ++t) {
            const int weight = row[static_cast<size_t>(t)];
            table.wide.push_back(static_cast<int16_t>(weight));
            table.narrow[static_cast<size_t>(phase) * table.narrowTaps + t] = static_cast<int8_t>(weight);
        }
    }
    return table;
}

class PlannedResizePasses : public testing::Test {
protected:
    void SetUp() override
    {
        if (__builtin_cpu_supports("avx2") == 0) GTEST_SKIP() << "no AVX2 here";
        passes = Avx2ResizePasses(32);
        ASSERT_NE(passes.narrowVertical, nullptr);
        ASSERT_NE(passes.narrowHorizontal, nullptr);
        ASSERT_NE(passes.twoTapHorizontal, nullptr);
    }

    // The two-tap pass on a padded line of random bytes, against the portable loop.
    void ExpectSameTwoTapLine(const LineCase& line, std::mt19937& random) const
    {
        const std::vector<uint8_t> padded = RandomBytes((line.sourceWidth + 2) * 4, random);
        std::vector<uint8_t> expected(line.width * 4);
        PortableResizePasses(32).horizontal(padded.data(), line.table, 2, line.numerator, line.denominator,
                                            expected.data(), line.width);
        std::vector<uint8_t> actual(expected.size() + 4, 0xEE);
        CWideColumns columns;
        ASSERT_TRUE(columns.Build(line.table, 2, line.numerator, line.denominator, line.width));
        passes.twoTapHorizontal(padded.data(), columns, actual.data(), line.width);
        ASSERT_TRUE(std::equal(expected.begin(), expected.end(), actual.begin()))
            << line.sourceWidth << " to " << line.width;
        ASSERT_EQ(actual.back(), 0xEE) << "wrote past the row";
    }

    // A padded line of random bytes, or of 255 only, read up to the slack beyond.
    void ExpectSameLine(const LineCase& line, const int8_t* narrow, int narrowTaps, bool saturated,
                        std::mt19937& random) const
    {
        const size_t pixels = line.sourceWidth + static_cast<size_t>(line.taps) + kNarrowLineSlack;
        const std::vector<uint8_t> padded = saturated ? std::vector<uint8_t>(pixels * 4, 255) : RandomBytes(pixels * 4, random);
        std::vector<uint8_t> expected(line.width * 4);
        PortableResizePasses(32).horizontal(padded.data(), line.table, line.taps, line.numerator, line.denominator,
                                            expected.data(), line.width);
        std::vector<uint8_t> actual(expected.size() + 4, 0xEE);
        CNarrowColumns columns;
        ASSERT_TRUE(columns.Build(narrow, narrowTaps, line.numerator, line.denominator, line.width));
        passes.narrowHorizontal(padded.data(), columns, actual.data(), line.width);
        ASSERT_TRUE(std::equal(expected.begin(), expected.end(), actual.begin()))
            << line.sourceWidth << " to " << line.width << ", " << line.taps << " taps";
        ASSERT_EQ(actual.back(), 0xEE) << "wrote past the row";
    }

    void ExpectSameColumns(const int16_t* wide, const int8_t* narrow, int taps, size_t bytes, bool saturated,
                           std::mt19937& random) const
    {
        const size_t stride = bytes + 5;
        const size_t count = stride * static_cast<size_t>(taps);
        const std::vector<uint8_t> rows = saturated ? std::vector<uint8_t>(count, 255) : RandomBytes(count, random);
        std::vector<uint8_t> expected(bytes);
        FilterColumnsPortable(rows.data(), stride, wide, taps, expected.data(), bytes);
        std::vector<uint8_t> actual(bytes + 1, 0xEE);
        passes.narrowVertical(rows.data(), stride, narrow, taps, actual.data(), bytes);
        ASSERT_TRUE(std::equal(expected.begin(), expected.end(), actual.begin())) << taps << " taps, " << bytes << " bytes";
        ASSERT_EQ(actual.back(), 0xEE) << "wrote past the line";
    }

    ResizePasses passes{};
};

}  // namespace

// Triangle reductions by more than 1.01 have narrow tables; by 1.05 to 5 they give 4 to 10
// taps, whole groups of four and groups with two taps left over.
TEST_F(PlannedResizePasses, MatchThePortableLoopsOnTriangleReductions)
{
    std::mt19937 random(1207);
    for (const auto& [from, to] : {std::pair{4000u, 2000u}, {301u, 150u}, {999u, 333u}, {200u, 190u}, {810u, 270u},
                                   {97u, 23u}, {640u, 129u}, {29u, 9u}}) {
        CResizeWeights table;
        ASSERT_TRUE(table.Build(from, to, &TriangleKernel, 1));
        ASSERT_NE(table.NarrowData(), nullptr) << from << " to " << to;
        for (const bool saturated : {false, true}) {
            ExpectSameLine(CornerAligned(from, to, table.Taps(), table.Data()), table.NarrowData(), table.NarrowTaps(),
                           saturated, random);
            for (uint32_t phase = 0; phase < table.Phases(); phase += 1 + table.Phases() / 5) {
                ExpectSameColumns(table.Row(phase), table.NarrowRow(phase), table.Taps(), 3 * from / 2, saturated,
                                  random);
            }
        }
    }
}

// Rows that sum to 128 with a weight of 127, on lines of 255: every sum is the
// largest a narrow row allows; odd tap counts too.
TEST_F(PlannedResizePasses, MatchThePortableLoopsAtTheLargestSums)
{
    std::mt19937 random(128);
    for (int taps = 1; taps <= 12; ++taps) {
        for (const auto& [from, to] : {std::pair{41u, 17u}, {9u, 30u}, {64u, 64u}}) {
            const NarrowTable table = RandomNarrowTable(to - 1, taps, random);
            for (const bool saturated : {false, true}) {
                ExpectSameLine(CornerAligned(from, to, taps, table.wide.data()), table.narrow.data(), table.narrowTaps,
                               saturated, random);
                for (uint32_t phase = 0; phase + 1 < to; phase += 3) {
                    ExpectSameColumns(table.wide.data() + static_cast<size_t>(phase) * taps,
                                      table.narrow.data() + static_cast<size_t>(phase) * table.narrowTaps, taps,
                                      phase * 7 % 100, saturated, random);
                }
            }
        }
    }
}

// Triangle enlargements (two taps, weights up to 128) from photo and small sizes, and
// two-tap tables of weights far beyond a real table's, whose sums clamp both ways, on
// every width from 1 to 9 (each remainder of the four pixels a step).
TEST_F(PlannedResizePasses, TwoTapPassMatchesThePortableLoop)
{
    std::mt19937 random(2);
    for (const auto& [from, to] : {std::pair{4000u, 8000u}, {8u, 9u}, {301u, 602u}, {97u, 1000u}, {640u, 641u},
                                   {2u, 7u}, {3u, 5u}, {9u, 13u}}) {
        CResizeWeights table;
        ASSERT_TRUE(table.Build(from, to, &TriangleKernel, 1));
        ASSERT_EQ(table.Taps(), 2) << from << " to " << to;
        ExpectSameTwoTapLine(CornerAligned(from, to, 2, table.Data()), random);
    }
    for (uint32_t width = 1; width <= 9; ++width) {
        const std::vector<int16_t> extreme = ExtremeWeights(2 * static_cast<size_t>(width + 3), random);
        ExpectSameTwoTapLine({width / 2 + 1, width, 2, extreme.data(), width / 2, width + 3}, random);
    }
}
