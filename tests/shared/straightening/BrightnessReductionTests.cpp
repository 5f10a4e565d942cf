// The first stage of the straightening detection: the working size, the brightness
// (largest colour byte) and the area averaging, against hand-worked pixels and a
// plain pixel-by-pixel reference of the averaging rules.

#include "tests/KernelPicture.h"

#include "filters/shared/straightening/BrightnessReduction.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

namespace {

using Picture = KernelPicture;

WorkingPlane<uint8_t> Reduced(Picture& picture)
{
    StageProgress progress({}, 0);
    WorkingPlane<uint8_t> plane;
    EXPECT_TRUE(ReduceBrightness(picture.Rows(), WorkingSizeOf(picture.width, picture.height), plane, progress));
    return plane;
}

// The edges of the squares: 0, then the step added once per working pixel in single
// precision.
std::vector<float> EdgesOf(int count, float step)
{
    std::vector<float> edges{0.0f};
    for (int i = 0; i < count; ++i) edges.push_back(edges.back() + step);
    return edges;
}

// The averaging as the rules say it, one working pixel at a time: every source pixel
// the square touches, inside the picture, weighted by its covered width times its
// covered height, in row order; the mean rounded to nearest, ties to even.
WorkingPlane<uint8_t> ReferenceReduction(Picture& picture, const WorkingSize& size)
{
    const std::vector<float> xs = EdgesOf(size.width, size.step);
    const std::vector<float> ys = EdgesOf(size.height, size.step);
    const auto covered = [](int k, float from, float to) {
        return std::min(static_cast<float>(k + 1), to) - std::max(static_cast<float>(k), from);
    };
    WorkingPlane<uint8_t> plane(size.width, size.height);
    for (int j = 0; j < size.height; ++j) {
        for (int i = 0; i < size.width; ++i) {
            float sum = 0.0f;
            float area = 0.0f;
            for (int y = static_cast<int>(ys[j]); static_cast<float>(y) < ys[j + 1] && y < picture.height; ++y) {
                for (int x = static_cast<int>(xs[i]); static_cast<float>(x) < xs[i + 1] && x < picture.width; ++x) {
                    const uint32_t pixel = picture.At(x, y);
                    const int brightness =
                        std::max({static_cast<int>(pixel & 0xFF), static_cast<int>(pixel >> 8 & 0xFF), static_cast<int>(pixel >> 16 & 0xFF)});
                    const float weight = covered(x, xs[i], xs[i + 1]) * covered(y, ys[j], ys[j + 1]);
                    sum += weight * static_cast<float>(brightness);
                    area += weight;
                }
            }
            plane.At(i, j) = static_cast<uint8_t>(std::nearbyint(sum / area));
        }
    }
    return plane;
}

} // namespace

TEST(BrightnessReduction, WorkingSizeBringsTheLongerSideTo640)
{
    struct Case {
        int width, height, workingWidth, workingHeight;
        float step;
    };
    // 641 x 480: s = 640 / 641 in single precision; 480 x s + 0.00001 is 479.25.
    const Case cases[] = {{4000, 3000, 640, 480, 6.25f}, {1280, 960, 640, 480, 2.0f}, {960, 1440, 426, 640, 2.25f},
                          {641, 480, 640, 479, 641.0f / 640.0f}, {640, 480, 640, 480, 1.0f}, {500, 333, 500, 333, 1.0f},
                          {2000, 25, 640, 8, 3.125f}, {3, 2, 3, 2, 1.0f}};
    for (const Case& c : cases) {
        const WorkingSize size = WorkingSizeOf(c.width, c.height);
        EXPECT_EQ(size.width, c.workingWidth) << c.width << "x" << c.height;
        EXPECT_EQ(size.height, c.workingHeight) << c.width << "x" << c.height;
        EXPECT_NEAR(size.step, c.step, 1e-6) << c.width << "x" << c.height;
    }
}

TEST(BrightnessReduction, ThreeToTwoAveragesCoveredSharesOfTheLargestColourByte)
{
    // 960 x 12 becomes 640 x 8 with squares of 1.5 x 1.5 source pixels. Working pixel
    // (1, 0) covers columns 1 (half) and 2 (whole), rows 0 (whole) and 1 (half):
    // (10 x 0.5 + 40 x 1 + 100 x 0.25 + 200 x 0.5) / 2.25 = 170 / 2.25 = 75.6 -> 76.
    Picture picture(960, 12);
    picture.At(1, 0) = 0x0003050Au;   // blue is largest
    picture.At(2, 0) = 0x00122811u;   // green
    picture.At(1, 1) = 0x00641F20u;   // red
    picture.At(2, 1) = 0xFFC80000u;   // red 200; the fourth byte is no colour
    picture.At(3, 0) = 0x00FFFFFFu;   // under working pixel (2, 0) only
    const WorkingPlane<uint8_t> plane = Reduced(picture);
    ASSERT_EQ(plane.width, 640);
    ASSERT_EQ(plane.height, 8);
    EXPECT_EQ(plane.At(1, 0), 76);
    // (0, 0): columns 0 and half of 1, rows 0 and half of 1: (10 x 0.5 + 100 x 0.25) / 2.25 = 13.3.
    EXPECT_EQ(plane.At(0, 0), 13);
    // (2, 0): column 3 whole, half of column 4; rows 0 and half of 1: 255 / 2.25 = 113.3.
    EXPECT_EQ(plane.At(2, 0), 113);
    // (1, 1): half of row 1 again, with row 2 (all 0): (100 x 0.25 + 200 x 0.5) / 2.25 = 55.6.
    EXPECT_EQ(plane.At(1, 1), 56);
}

TEST(BrightnessReduction, ExactHalvesRoundToEven)
{
    // 1280 x 20: squares of 2 x 2 whole pixels, means in quarters.
    Picture picture(1280, 20);
    const int levels[4][4] = {{10, 10, 11, 11}, {11, 11, 12, 12}, {10, 11, 11, 11}, {200, 201, 201, 201}};
    for (int i = 0; i < 4; ++i) {
        picture.At(2 * i, 0) = static_cast<uint32_t>(levels[i][0]);
        picture.At(2 * i + 1, 0) = static_cast<uint32_t>(levels[i][1]);
        picture.At(2 * i, 1) = static_cast<uint32_t>(levels[i][2]);
        picture.At(2 * i + 1, 1) = static_cast<uint32_t>(levels[i][3]);
    }
    const WorkingPlane<uint8_t> plane = Reduced(picture);
    EXPECT_EQ(plane.At(0, 0), 10);   // 10.5
    EXPECT_EQ(plane.At(1, 0), 12);   // 11.5
    EXPECT_EQ(plane.At(2, 0), 11);   // 10.75
    EXPECT_EQ(plane.At(3, 0), 201);  // 200.75
}

TEST(BrightnessReduction, MatchesThePlainAveragingAtManySizes)
{
    // Steps of 6.25, 2.25, about 1.0016 (squares reaching past the last column), about
    // 1.37, 3.125 and 1 (a picture smaller than the working size is copied).
    const std::pair<int, int> sizes[] = {{4000, 90}, {960, 1440}, {641, 480}, {877, 123}, {2000, 29}, {37, 21}};
    unsigned seed = 1;
    for (const auto& [width, height] : sizes) {
        Picture picture = KernelPicture::Random(width, height, seed++);
        const WorkingPlane<uint8_t> plane = Reduced(picture);
        const WorkingPlane<uint8_t> expected = ReferenceReduction(picture, WorkingSizeOf(width, height));
        ASSERT_EQ(plane.width, expected.width);
        ASSERT_EQ(plane.height, expected.height);
        EXPECT_EQ(plane.values, expected.values) << width << "x" << height;
    }
}

TEST(BrightnessReduction, CountsEverySourceRowAndWorkingRowAndStops)
{
    Picture picture = KernelPicture::Random(1300, 300, 7);  // 640 x 147
    int reports = 0;
    int lastDone = -1;
    StageProgress progress(
        [&](int done, int total) {
            EXPECT_EQ(total, 2000);
            EXPECT_EQ(done, lastDone + 1);
            lastDone = done;
            ++reports;
            return true;
        },
        2000);
    WorkingPlane<uint8_t> plane;
    ASSERT_TRUE(ReduceBrightness(picture.Rows(), WorkingSizeOf(1300, 300), plane, progress));
    EXPECT_EQ(reports, 300 + 147);

    StageProgress stopped([](int done, int) { return done < 10; }, 2000);
    EXPECT_FALSE(ReduceBrightness(picture.Rows(), WorkingSizeOf(1300, 300), plane, stopped));
    EXPECT_EQ(stopped.Done(), 11);
}
