// The single frame: which pixels each band covers at which opacity, the corner
// option, the extremes of thickness and intensity, and worked pixels of the blend.
// Expected pixels come from the blending rule written out in the test.

#include "tests/KernelThreads.h"
#include "tests/frames/FrameTestSupport.h"

#include "filters/frames/FramesSettings.h"
#include "filters/frames/SingleFrame.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace frames_test;

namespace {

WString SingleText(const char16_t* name, int thick, int intensity, int corner, uint32_t color)
{
    CParamList params;
    params.Set(u"NameOfTheFrame", name);
    params.SetInt(u"SingleFrameThick", thick);
    params.SetInt(u"SingleFrameIntensity", intensity);
    params.SetInt(u"SingleFrameCorner", corner);
    params.SetInt(u"SingleFrameColor", static_cast<int>(color));
    return params.ToString();
}

// Per pixel: in the top or bottom band a side pixel is a corner; in the rows between
// only the side pixels are framed.
std::vector<uint32_t> SingleReference(CHostImage* source, int t, int intensity, bool corner, uint32_t color)
{
    const double a = intensity / 100.0;
    const double ac = corner ? std::min(1.0, 2 * a) : a;
    std::vector<uint32_t> expected = PixelsOf(source);
    const int w = source->Width();
    const int h = source->Height();
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const bool across = y < t || y >= h - t;
            const bool side = x < t || x >= w - t;
            uint32_t& pixel = expected[static_cast<size_t>(y * w + x)];
            if (across && side) pixel = Covered(pixel, color, ac);
            else if (across || side) pixel = Covered(pixel, color, a);
        }
    }
    return expected;
}

} // namespace

TEST(SingleFrame, BandsAndCornersFollowThePlainRuleOnManyShapes)
{
    struct Case {
        int width, height, thick, intensity, corner;
    };
    // With them the extremes: thickness 0 (the copy as it was), thickness 100 on a wide
    // picture (the bands meet in the middle row), intensity 100 (the pure colour) and 0
    // (only the fourth byte cleared), and 60 with and without pure corners.
    for (const Case c : {Case{40, 30, 25, 40, 1}, Case{31, 57, 60, 75, 0}, Case{9, 9, 100, 33, 1},
                         Case{1, 1, 100, 50, 1}, Case{64, 3, 80, 90, 1}, Case{17, 12, 13, 100, 0},
                         Case{23, 17, 0, 100, 1}, Case{200, 100, 100, 30, 1}, Case{30, 20, 50, 100, 0},
                         Case{30, 20, 50, 0, 1}, Case{10, 10, 40, 60, 1}, Case{10, 10, 40, 60, 0}}) {
        const auto source = MakeImage(c.width, c.height, Busy);
        const int t = static_cast<int>(std::min(c.width, c.height) / 100.0 * c.thick * 0.5);
        for (const int threads : {1, 3}) {
            const ScopedKernelThreads scoped(threads);
            EXPECT_EQ(Framed(source.Get(), SingleText(u"SingleFrameName", c.thick, c.intensity, c.corner, 0x3C8AE1)),
                      SingleReference(source.Get(), t, c.intensity, c.corner != 0, 0x3C8AE1))
                << c.width << "x" << c.height << " thick " << c.thick << ", " << threads << " threads";
        }
    }
}

TEST(SingleFrame, WorkedPixelsOfTheSideAndTheCorner)
{
    // (200, 100, 50) under grey 123 at 0.4: 200 * 0.6 + 49.2 = 169.2, 60 + 49.2, 30 + 49.2.
    // In the corner at 0.8: 200 * 0.2 + 98.4 = 138.4, 20 + 98.4, 10 + 98.4.
    const auto source = MakeImage(20, 20, [](int, int) { return Pixel(200, 100, 50, 0x77); });
    const auto framed = Framed(source.Get(), SingleText(u"SingleFrameName", 50, 40, 1, 0x7B7B7B));
    ASSERT_EQ(framed.size(), 400u);
    EXPECT_EQ(framed[10 * 20 + 0], Pixel(169, 109, 79));   // left band, row 10
    EXPECT_EQ(framed[0 * 20 + 10], Pixel(169, 109, 79));   // bottom band
    EXPECT_EQ(framed[19 * 20 + 19], Pixel(138, 118, 108)); // corner
    EXPECT_EQ(framed[10 * 20 + 10], Pixel(200, 100, 50, 0x77));  // untouched middle
}

TEST(SingleFrame, KernelStopsAtTheRowItsReportRefuses)
{
    const auto source = MakeImage(12, 12, Busy);
    const auto before = PixelsOf(source.Get());
    const PixelRows rows{reinterpret_cast<uint8_t*>(source->Row(0)), 12 * 4, 12, 12};
    std::vector<int> positions;
    const bool drawn = DrawSingleFrame(rows, SingleFrameSettings{50, 50, true, 0xFFFFFF}, [&](int y, int total) {
        EXPECT_EQ(total, 12);
        positions.push_back(y);
        return y < 2;
    });
    EXPECT_FALSE(drawn);
    EXPECT_EQ(positions, (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(PixelsOf(source.Get())[3 * 12 + 0], before[3 * 12 + 0]);  // row 3 never reached
}

TEST(SingleFrame, TypedThicknessesFarOutsideTheRangeCoverAllOrNothing)
{
    // 1e9 per cent is wider than the picture: every pixel lies in a corner square.
    const auto source = MakeImage(13, 8, Busy);
    EXPECT_EQ(Framed(source.Get(), SingleText(u"SingleFrameName", 1000000000, 30, 1, 0x00FF00)),
              SingleReference(source.Get(), 1000, 30, true, 0x00FF00));
    EXPECT_EQ(Framed(source.Get(), SingleText(u"SingleFrameName", -1000000000, 30, 1, 0x00FF00)),
              PixelsOf(source.Get()));
    // Beyond the largest number a setting may hold the key counts as missing.
    EXPECT_TRUE(Framed(source.Get(), SingleText(u"SingleFrameName", 2000000000, 30, 1, 0x00FF00)).empty());
}
