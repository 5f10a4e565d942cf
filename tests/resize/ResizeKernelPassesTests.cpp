// Every vector variant of the resampler's passes gives the portable bytes, on real
// weight tables of many size pairs and on extreme weights that clamp.

#include "filters/resize/ResizeKernelPasses.h"
#include "filters/resize/ResizeKernelWeights.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace {

struct Variant {
    const char* name;
    ResizePasses (*passes)(int bitsPerPixel);
    bool available;
};

std::vector<Variant> VectorVariants()
{
    return {{"SSE2", &Sse2ResizePasses, __builtin_cpu_supports("sse2") != 0},
            {"AVX2", &Avx2ResizePasses, __builtin_cpu_supports("avx2") != 0}};
}

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

struct LineCase {
    uint32_t sourceWidth;
    uint32_t width;
    int taps;
    const int16_t* table;
};

std::string Describe(const Variant& variant, int bitsPerPixel, const LineCase& line)
{
    return std::string(variant.name) + ", " + std::to_string(bitsPerPixel) + " bits, " +
           std::to_string(line.sourceWidth) + " to " + std::to_string(line.width) + ", " + std::to_string(line.taps) +
           " taps";
}

void ExpectSameLines(const LineCase& line, std::mt19937& random)
{
    for (int bitsPerPixel : {8, 32}) {
        const size_t pixelBytes = static_cast<size_t>(bitsPerPixel / 8);
        const std::vector<uint8_t> padded = RandomBytes((line.sourceWidth + line.taps) * pixelBytes, random);
        std::vector<uint8_t> expected(line.width * pixelBytes);
        PortableResizePasses(bitsPerPixel)
            .horizontal(padded.data(), line.table, line.taps, line.sourceWidth - 1, line.width - 1, expected.data(),
                        line.width);
        for (const Variant& variant : VectorVariants()) {
            if (!variant.available) continue;
            std::vector<uint8_t> actual(expected.size() + 4, 0xEE);
            variant.passes(bitsPerPixel)
                .horizontal(padded.data(), line.table, line.taps, line.sourceWidth - 1, line.width - 1, actual.data(),
                            line.width);
            ASSERT_TRUE(std::equal(expected.begin(), expected.end(), actual.begin()))
                << Describe(variant, bitsPerPixel, line);
            ASSERT_EQ(actual.back(), 0xEE) << "wrote past the row: " << Describe(variant, bitsPerPixel, line);
        }
    }
}

void ExpectSameColumns(const int16_t* weights, int taps, size_t bytes, std::mt19937& random)
{
    const size_t stride = bytes + 3;
    const std::vector<uint8_t> rows = RandomBytes(stride * static_cast<size_t>(taps), random);
    std::vector<uint8_t> expected(bytes);
    FilterColumnsPortable(rows.data(), stride, weights, taps, expected.data(), bytes);
    for (const Variant& variant : VectorVariants()) {
        if (!variant.available) continue;
        std::vector<uint8_t> actual(bytes + 1, 0xEE);
        variant.passes(32).vertical(rows.data(), stride, weights, taps, actual.data(), bytes);
        ASSERT_TRUE(std::equal(expected.begin(), expected.end(), actual.begin()))
            << variant.name << ", " << taps << " taps, " << bytes << " bytes";
        ASSERT_EQ(actual.back(), 0xEE) << variant.name << " wrote past the line";
    }
}

}  // namespace

TEST(ResizePasses, HorizontalVariantsMatchThePortableLoopOnRealTables)
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
            ExpectSameLines({from, to, table.Taps(), table.Data()}, random);
        }
    }
}

TEST(ResizePasses, HorizontalVariantsMatchThePortableLoopWhenSumsClamp)
{
    std::mt19937 random(255);
    for (int round = 0; round < 60; ++round) {
        const int taps = 2 * (1 + round % 13);
        const uint32_t from = 8 + static_cast<uint32_t>(random() % 50);
        const uint32_t to = 8 + static_cast<uint32_t>(random() % 50);
        const std::vector<int16_t> table = ExtremeWeights(static_cast<size_t>(to - 1) * taps, random);
        ExpectSameLines({from, to, taps, table.data()}, random);
    }
}

TEST(ResizePasses, VerticalVariantsMatchThePortableLoop)
{
    std::mt19937 random(42);
    CResizeWeights strong;
    ASSERT_TRUE(strong.Build(4000, 100, &LanczosKernel, 3));
    for (uint32_t phase = 0; phase < strong.Phases(); phase += 7) {
        ExpectSameColumns(strong.Row(phase), strong.Taps(), 100 + phase, random);
    }
    for (int round = 0; round < 200; ++round) {
        const int taps = 2 * (1 + round % 9);
        const size_t bytes = static_cast<size_t>(round % 101);  // below, at and beyond whole vectors
        const std::vector<int16_t> weights = ExtremeWeights(static_cast<size_t>(taps), random);
        ExpectSameColumns(weights.data(), taps, bytes, random);
    }
}
