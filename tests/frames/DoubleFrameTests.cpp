// The double frame: the outer and inner bands measured from the nearest edge, the
// crossing lines in the corners, the extremes of thickness, inner share and
// intensity, and worked pixels of both opacities.

#include "tests/KernelThreads.h"
#include "tests/frames/FrameTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace frames_test;

namespace {

WString DoubleText(int outer, int inner, int intensity, uint32_t color)
{
    CParamList params;
    params.Set(u"NameOfTheFrame", u"DoubleFrameName");
    params.SetInt(u"OuterFrameThick", outer);
    params.SetInt(u"InnerFrameThick", inner);
    params.SetInt(u"DblFrameIntensity", intensity);
    params.SetInt(u"DblFrameColor", static_cast<int>(color));
    return params.ToString();
}

// By the distance from the nearest vertical and horizontal edge: a pixel whose
// distance either way falls in the inner band o..T-1 gets b; else one nearer than T
// gets a. The inner band's lines thus cross the outer band in the corners.
std::vector<uint32_t> DoubleReference(CHostImage* source, int t, int o, double a, double b, uint32_t color)
{
    std::vector<uint32_t> expected = PixelsOf(source);
    const int w = source->Width();
    const int h = source->Height();
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const int dx = std::min(x, w - 1 - x);
            const int dy = std::min(y, h - 1 - y);
            const bool inner = (dx >= o && dx < t) || (dy >= o && dy < t);
            uint32_t& pixel = expected[static_cast<size_t>(y * w + x)];
            if (inner) pixel = Covered(pixel, color, b);
            else if (dx < t || dy < t) pixel = Covered(pixel, color, a);
        }
    }
    return expected;
}

} // namespace

TEST(DoubleFrame, BandsFollowTheDistanceFromTheEdgesOnManyShapes)
{
    struct Case {
        int width, height, outer, inner, intensity;
    };
    // With them the extremes: thickness 0 (the copy as it was), intensity 70 (the inner
    // band's 1.05 held at 1, the pure colour) and 0 (only the fourth byte cleared).
    for (const Case c : {Case{400, 300, 23, 18, 55}, Case{37, 52, 80, 50, 40}, Case{10, 10, 100, 30, 20},
                         Case{64, 7, 100, 0, 90}, Case{1, 1, 100, 100, 50}, Case{45, 33, 61, 77, 66},
                         Case{40, 24, 0, 50, 100}, Case{40, 24, 100, 50, 70}, Case{40, 24, 100, 50, 0}}) {
        const auto source = MakeImage(c.width, c.height, Busy);
        const int t = static_cast<int>(std::min(c.width, c.height) / 100.0 * c.outer * 0.5);
        const int o = t - static_cast<int>(t / 100.0 * c.inner);
        const double a = c.intensity / 100.0;
        for (const int threads : {1, 3}) {
            const ScopedKernelThreads scoped(threads);
            EXPECT_EQ(Framed(source.Get(), DoubleText(c.outer, c.inner, c.intensity, 0x2A7FD0)),
                      DoubleReference(source.Get(), t, o, a, std::min(1.0, 1.5 * a), 0x2A7FD0))
                << c.width << "x" << c.height << " outer " << c.outer << " inner " << c.inner << ", " << threads
                << " threads";
        }
    }
}

TEST(DoubleFrame, StartValuesOnFourHundredByThreeHundredWithWorkedPixels)
{
    // T = trunc(300 / 100 * 23 * 0.5) = 34, I = trunc(0.34 * 18) = 6, o = 28.
    // a = 0.55 and 1 - a is just below 0.45: red 200 * 0.4499.. = 89.99.. gives 89,
    // green 44.99.. gives 44, blue 22.49.. + 255 * 0.55 = 162.75 gives 162.
    // b = 0.825 (a hair above): red 34.99.. gives 34, green 17.49.. gives 17,
    // blue 8.74.. + 210.37.. = 219.1 gives 219.
    const auto source = MakeImage(400, 300, [](int, int) { return Pixel(200, 100, 50, 9); });
    const auto framed = Framed(source.Get(), DoubleText(23, 18, 55, 0xFF0000));
    ASSERT_EQ(framed.size(), 120000u);
    const auto at = [&](int x, int y) { return framed[static_cast<size_t>(y * 400 + x)]; };
    EXPECT_EQ(at(27, 150), Pixel(89, 44, 162));
    EXPECT_EQ(at(28, 150), Pixel(34, 17, 219));
    EXPECT_EQ(at(33, 150), Pixel(34, 17, 219));
    EXPECT_EQ(at(34, 150), Pixel(200, 100, 50, 9));
    EXPECT_EQ(at(200, 27), Pixel(89, 44, 162));
    EXPECT_EQ(at(200, 300 - 34), Pixel(34, 17, 219));
    EXPECT_EQ(at(30, 10), Pixel(34, 17, 219));   // an inner line crossing the outer band
    EXPECT_EQ(at(10, 10), Pixel(89, 44, 162));   // the outer corner square
}

TEST(DoubleFrame, InnerShareZeroIsOneBandAndHundredLeavesTheFractionOutside)
{
    const auto source = MakeImage(59, 70, Busy);
    // T = trunc(59 / 100 * 100 * 0.5) = 29 (a side of 58 gives 28: 0.58 * 100 is 57.99..).
    // I = trunc(0.29 * 100) = 28 since 0.29 * 100 is 28.99.., so one outer column remains.
    EXPECT_EQ(Framed(source.Get(), DoubleText(100, 0, 50, 0x0000FF)),
              DoubleReference(source.Get(), 29, 29, 0.5, 0.75, 0x0000FF));
    const auto framed = Framed(source.Get(), DoubleText(100, 100, 50, 0x0000FF));
    EXPECT_EQ(framed, DoubleReference(source.Get(), 29, 1, 0.5, 0.75, 0x0000FF));
    ASSERT_FALSE(framed.empty());
    EXPECT_EQ(framed[35 * 59 + 0], Covered(Busy(0, 35), 0x0000FF, 0.5));
    EXPECT_EQ(framed[35 * 59 + 1], Covered(Busy(1, 35), 0x0000FF, 0.75));
}

TEST(DoubleFrame, TypedThicknessesFarOutsideTheRangeCoverAllOrNothing)
{
    // I is half of T and o the rest: both wider than the picture, so every row is
    // an outer row and every pixel gets the outer opacity.
    const auto source = MakeImage(13, 8, Busy);
    EXPECT_EQ(Framed(source.Get(), DoubleText(1000000000, 50, 40, 0x00FF00)),
              DoubleReference(source.Get(), 1000, 1000, 0.4, 0.6, 0x00FF00));
    EXPECT_EQ(Framed(source.Get(), DoubleText(-1000000000, 50, 40, 0x00FF00)), PixelsOf(source.Get()));
    // Beyond the largest number a setting may hold the key counts as missing.
    EXPECT_TRUE(Framed(source.Get(), DoubleText(2000000000, 50, 40, 0x00FF00)).empty());
}
