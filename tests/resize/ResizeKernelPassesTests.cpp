// Every vector variant of the resampler's passes gives the portable bytes, on real
// weight tables of many size pairs, on extreme weights that clamp, and on lines of
// one pixel on. A variant the processor cannot run is skipped.

#include "filters/resize/ResizeKernelPasses.h"
#include "filters/resize/ResizeKernelWeights.h"
#include "tests/shared/KernelVariants.h"

#include <gtest/gtest.h>

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
