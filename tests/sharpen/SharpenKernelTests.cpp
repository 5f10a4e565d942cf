// The unsharp merge alone, on plain pixel buffers: the rule per path, and every
// vector variant of the fixed-point row against the scalar row; the blur's passes
// have their own tests under tests/shared/gaussian.

#include "filters/sharpen/SharpenKernelMerge.h"
#include "tests/shared/KernelVariants.h"
#include "tests/sharpen/SharpenReference.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

namespace {

constexpr BlurPath kPaths[] = {BlurPath::FixedPoint, BlurPath::Portable};

// One pixel of four equal bytes through the row merge the filter runs.
int MergedByTheRow(int original, int blurred, double amount, int threshold, BlurPath path)
{
    const uint32_t o = 0x01010101u * static_cast<uint32_t>(original);
    const uint32_t b = 0x01010101u * static_cast<uint32_t>(blurred);
    uint32_t out = 0;
    UnsharpRowMerge(amount, threshold, path)(reinterpret_cast<const uint8_t*>(&o),
                                             reinterpret_cast<const uint8_t*>(&b), reinterpret_cast<uint8_t*>(&out),
                                             1);
    return ChannelOf(out, 0);
}

} // namespace

TEST(UnsharpMerge, ThresholdAmountAndRoundingPerPath)
{
    struct Case {
        const char* label;
        int original, blurred;
        double amount;
        int threshold;
        int fixed, portable;
    };
    for (const Case& c : {
             Case{"2|d| equal to the threshold", 100, 96, 0.5, 8, 100, 102},
             Case{"2|d| above it", 100, 96, 0.5, 7, 102, 102},
             Case{"2|d| below it", 100, 96, 0.5, 9, 100, 100},
             Case{"amount 0", 100, 40, 0.0, 0, 100, 100},
             Case{"0.99 is 31/32 in fixed point, floored", 100, 101, 0.99, 0, 99, 100},
             Case{"0.99 of +33", 133, 100, 0.99, 0, 164, 165},
             Case{"saturates high", 250, 100, 1.0, 0, 255, 255},
             Case{"saturates low", 5, 200, 1.0, 0, 0, 0},
             Case{"negative threshold sharpens everything", 10, 11, 1.0, -1, 9, 9},
         }) {
        const size_t index = static_cast<size_t>(c.original * 256 + c.blurred);
        EXPECT_EQ(BuildMergeTable(c.amount, c.threshold, BlurPath::FixedPoint)[index], c.fixed) << c.label;
        EXPECT_EQ(BuildMergeTable(c.amount, c.threshold, BlurPath::Portable)[index], c.portable) << c.label;
        EXPECT_EQ(MergedByTheRow(c.original, c.blurred, c.amount, c.threshold, BlurPath::FixedPoint), c.fixed)
            << c.label;
        EXPECT_EQ(MergedByTheRow(c.original, c.blurred, c.amount, c.threshold, BlurPath::Portable), c.portable)
            << c.label;
    }
}

TEST(UnsharpMerge, FourthByteAndNegativeThreshold)
{
    const uint32_t original[2] = {0x3C646464u, 0x00C80A0Au};
    const uint32_t blurred[2] = {0x00646464u, 0x00C80A0Au};
    for (const BlurPath path : kPaths) {
        uint32_t out[2] = {};
        UnsharpRowMerge(0.5, 8, path)(reinterpret_cast<const uint8_t*>(original),
                                      reinterpret_cast<const uint8_t*>(blurred), reinterpret_cast<uint8_t*>(out), 2);
        // Fourth bytes 60 over 0: d = 60, so fixed point gives 60 + 30; portable keeps 0.
        EXPECT_EQ(out[0], path == BlurPath::FixedPoint ? 0x5A646464u : 0x00646464u);
        EXPECT_EQ(out[1], 0x00C80A0Au);
        EXPECT_EQ(UnsharpMergeAccepts(-1, path), path == BlurPath::FixedPoint);
        EXPECT_TRUE(UnsharpMergeAccepts(0, path));
    }
}

namespace {

struct MergeVariant : kernel_variants::Named {
    FixedPointMergeRow row;
};

class FixedPointMergeRows : public KernelVariantTest<MergeVariant> {};

} // namespace

INSTANTIATE_TEST_SUITE_P(Each, FixedPointMergeRows,
                         testing::Values(MergeVariant{{"Sse2", "SSE2"}, &MergeRowFixedPointSse2},
                                         MergeVariant{{"Avx2", "AVX2"}, &MergeRowFixedPointAvx2}),
                         NameOfVariant());

// Every (original, blurred) pair of bytes, at widths below, at and beyond whole
// vectors; amounts of either sign up to the 16-bit ends; thresholds that keep every
// difference, some, or none.
TEST_P(FixedPointMergeRows, GiveTheScalarRowsBytes)
{
    std::vector<uint8_t> original(65536);
    std::vector<uint8_t> blurred(65536);
    for (size_t i = 0; i < original.size(); ++i) {
        original[i] = static_cast<uint8_t>(i >> 8);
        blurred[i] = static_cast<uint8_t>(i);
    }
    std::mt19937 random(31);
    std::shuffle(blurred.begin(), blurred.end(), random);
    std::shuffle(original.begin(), original.end(), random);
    for (const int amount32 : {0, 1, 16, 31, 32, 100, 1000, 32767, -1, -32, -32768}) {
        for (const int threshold : {-100, -1, 0, 1, 7, 8, 255, 509, 510, 1000}) {
            for (const int width : {1, 3, 4, 5, 7, 8, 9, 16383, 16384}) {
                std::vector<uint8_t> expected(size_t{4} * width + 4, 0xA5);
                std::vector<uint8_t> actual = expected;
                MergeRowFixedPointScalar(original.data(), blurred.data(), expected.data(), width, amount32, threshold);
                GetParam().row(original.data(), blurred.data(), actual.data(), width, amount32, threshold);
                ASSERT_EQ(actual, expected) << "a " << amount32 << ", threshold " << threshold << ", width " << width;
            }
        }
    }
}
