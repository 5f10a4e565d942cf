// The unsharp merge alone, on plain pixel buffers; the blur's passes have their own
// tests under tests/shared/gaussian.

#include "filters/sharpen/SharpenKernelMerge.h"
#include "tests/sharpen/SharpenReference.h"

#include <gtest/gtest.h>

namespace {

PixelRows RowsOf(ReferencePicture& picture)
{
    return {reinterpret_cast<uint8_t*>(picture.pixels.data()), ptrdiff_t{4} * picture.width, picture.width,
            picture.height};
}

constexpr BlurPath kPaths[] = {BlurPath::FixedPoint, BlurPath::Portable};

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
    }
}

TEST(UnsharpMerge, FourthByteNegativeThresholdAndStop)
{
    ReferencePicture original{2, 1, {0x3C646464u, 0x00C80A0Au}};
    for (const BlurPath path : kPaths) {
        ReferencePicture blurred{2, 1, {0x00646464u, 0x00C80A0Au}};
        ASSERT_TRUE(MergeUnsharp(RowsOf(original), RowsOf(blurred), 0.5, 8, path, {}));
        // Fourth bytes 60 over 0: d = 60, so fixed point gives 60 + 30; portable keeps 0.
        EXPECT_EQ(blurred.pixels[0], path == BlurPath::FixedPoint ? 0x5A646464u : 0x00646464u);
        EXPECT_EQ(blurred.pixels[1], 0x00C80A0Au);
        EXPECT_EQ(MergeUnsharp(RowsOf(original), RowsOf(blurred), 0.5, -1, path, {}), path == BlurPath::FixedPoint);
        EXPECT_FALSE(MergeUnsharp(RowsOf(original), RowsOf(blurred), 0.5, 8, path, [](int, int) { return false; }));
    }
}
