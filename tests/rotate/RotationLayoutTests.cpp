// The output geometry of the free rotation, worked out by hand from the turned
// corners and the diagonals of the source (cos 45 = sin 45 = 0.70711, cos 10 =
// 0.98481, sin 10 = 0.17365, cos 80 = 0.17365, sin 80 = 0.98481).

#include "filters/rotate/RotationLayout.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <tuple>
#include <utility>

namespace {

double Radians(double degrees)
{
    return degrees / 360 * 2 * std::numbers::pi;
}

RotationLayout Planned(int width, int height, double degrees, int cropType,
                       RotationSampling sampling = RotationSampling::Bilinear)
{
    const std::optional<RotationLayout> layout = PlanRotation(width, height, Radians(degrees), cropType, sampling);
    EXPECT_TRUE(layout.has_value()) << width << "x" << height << " at " << degrees << " crop " << cropType;
    return layout.value_or(RotationLayout{});
}

// The output's width, height, scale and origin, and the step along a row, each as one
// comparable value.
using Geometry = std::tuple<int, int, double, double, double>;

Geometry GeometryOf(const RotationLayout& layout)
{
    return {layout.width, layout.height, layout.scale, layout.originX, layout.originY};
}

std::pair<int, int> StepOf(const RotationLayout& layout)
{
    return {layout.step.x, layout.step.y};
}

Geometry Unscaled(int width, int height, int left, int top)
{
    return {width, height, 1.0, left, top};
}

} // namespace

// The bounding box of the four corners (0, 0), (0, h-1), (w-1, h-1), (w-1, 0) turned
// by x' = x cos - y sin, y' = x sin + y cos, each rounded half away from zero.
TEST(RotationLayout, WholePictureIsTheBoxOfTheTurnedCorners)
{
    // 100 x 100 at 45: (0, 99) -> (-70.004, 70.004), (99, 99) -> (0, 140.007),
    // (99, 0) -> (70.004, 70.004): x from -70 to 70, y from 0 to 140.
    const RotationLayout square = Planned(100, 100, 45, kRotationKeepWhole);
    EXPECT_EQ(GeometryOf(square), Unscaled(141, 141, -70, 0));
    // 1024 x 0.70711 = 724.08, truncated toward zero on both sides of 0.
    EXPECT_EQ(StepOf(square), std::pair(724, -724));

    // 57 x 41 at 10: (0, 40) -> (-6.946, 39.392), (56, 40) -> (48.203, 49.117),
    // (56, 0) -> (55.149, 9.724).
    EXPECT_EQ(GeometryOf(Planned(57, 41, 10, kRotationKeepWhole)), Unscaled(63, 50, -7, 0));

    // 57 x 41 at -33.3: (0, 40) -> (21.961, 33.432), (56, 40) -> (68.766, 2.687),
    // (56, 0) -> (46.805, -30.745), which rounds away from zero to -31.
    EXPECT_EQ(GeometryOf(Planned(57, 41, -33.3, kRotationKeepWhole)), Unscaled(70, 65, 0, -31));

    // One pixel stays one pixel at any angle.
    EXPECT_EQ(GeometryOf(Planned(1, 1, 123.4, kRotationKeepWhole)), Unscaled(1, 1, 0, 0));
}

// 10 x 6 at 45: a = 5, b = 3, A = (5c - 3s, 5s + 3c) = (1.414, 5.657),
// B = (5c + 3s, 5s - 3c) = (5.657, 1.414), m = 0.6.
// Slope 0.6 meets A-B at u = 0.708: (4.419, 2.652); slope -0.6 misses A-B (u = 3.83)
// and meets B-(-A) at u = 0.425: (2.652, -1.591). Half sizes 2.652 x 1.591 -> 2 x 1.
// Slope 1/0.6 meets A-B at (2.652, 4.419); slope -1/0.6 meets B-(-A) at
// (1.591, -2.652). Half sizes 1.591 x 2.652 -> 1 x 2. Both half diagonals are 5, and
// on a tie the source's proportions stay: 2 x 1.
// Centre (5, 3) turned: (1.414, 5.657) -> (1, 5). Rectangle x -1 .. 3, y 4 .. 6.
TEST(RotationLayout, CropInsideIsTheLargestCentredRectangleOfTheSourceProportions)
{
    EXPECT_EQ(GeometryOf(Planned(10, 6, 45, kRotationCropInside)), Unscaled(5, 3, -1, 4));

    // 57 x 41 at 10: m = 0.7193, A = (24.102, 24.558), B = (31.048, -14.834). The
    // diagonals meet A-B at (25.232, 18.149) and (22.675, -16.310): 22 x 16, half
    // diagonal 740; the swapped ones at (16.730, 23.258) and (12.964, -18.023): 12 x 18,
    // 468. Centre (28.5, 20.5) turned: (24.507, 25.138) -> (24, 25).
    EXPECT_EQ(GeometryOf(Planned(57, 41, 10, kRotationCropInside)), Unscaled(45, 33, 2, 9));
}

// The same 10 x 6 case scaled back to the source's size: the 5 x 3 rectangle fills
// 10 x 6 with k = min(5/10, 3/6) = 0.5, centred: ox = (2/2)/0.5 - 9/2 = -2.5,
// oy = (10/2)/0.5 - 5/2 = 7.5; the steps shrink with k: 512 x 0.70711 = 362.04.
TEST(RotationLayout, CropKeepingSizeScalesTheRectangleOntoTheSourceSize)
{
    const RotationLayout layout = Planned(10, 6, 45, kRotationCropKeepSize);
    EXPECT_EQ(GeometryOf(layout), (Geometry{10, 6, 0.5, -2.5, 7.5}));
    EXPECT_EQ(StepOf(layout), std::pair(362, -362));

    // The nearest variant never scales: its output is the crop rectangle itself.
    const RotationLayout nearest = Planned(10, 6, 45, kRotationCropKeepSize, RotationSampling::Nearest);
    EXPECT_EQ(GeometryOf(nearest), Unscaled(5, 3, -1, 4));
    EXPECT_EQ(nearest.step.x, 724);
}

// 20 x 10 at 80, turned almost upright: a = 10, b = 5, A = (-3.188, 10.716),
// B = (6.661, 8.980), m = 0.5. Slope 0.5 misses A-B and meets A-(-B) at
// (-5.568, -2.784); slope -0.5 meets A-B at (4.666, -2.333): 4 x 2, half diagonal 20.
// Slope 2 meets A-B at (4.666, 9.332); slope -2 misses A-B and meets B-(-A) at
// (3.753, -7.507): 3 x 7, 58. The swapped proportions win. Centre (10, 5) turned:
// (-3.188, 10.716) -> (-3, 10); the rectangle is x -6 .. 0, y 3 .. 17, 7 x 15.
TEST(RotationLayout, SwappedProportionsWinWhenTheTurnedPictureStandsUpright)
{
    EXPECT_EQ(GeometryOf(Planned(20, 10, 80, kRotationCropInside)), Unscaled(7, 15, -6, 3));

    // A portrait rectangle from a landscape source: the output is 10 x 20,
    // k = min(7/10, 15/20) = 0.7, ox = (-6/2)/0.7 - 9/2, oy = (20/2)/0.7 - 19/2.
    // Steps: 716.8 x cos(-80) = 124.47, 716.8 x sin(-80) = -705.91.
    const RotationLayout scaled = Planned(20, 10, 80, kRotationCropKeepSize);
    EXPECT_EQ(GeometryOf(scaled), (Geometry{10, 20, 0.7, -3 / 0.7 - 4.5, 10 / 0.7 - 9.5}));
    EXPECT_EQ(StepOf(scaled), std::pair(124, -705));
}

// A single pixel has corners A = B = 0: every edge has length 0, so no diagonal
// meets one and both crop types fail; keeping the whole picture always succeeds.
TEST(RotationLayout, CropOfASinglePixelFindsNoRectangle)
{
    for (const RotationSampling sampling : {RotationSampling::Bilinear, RotationSampling::Nearest}) {
        EXPECT_FALSE(PlanRotation(1, 1, Radians(30), kRotationCropInside, sampling).has_value());
        EXPECT_FALSE(PlanRotation(1, 1, Radians(30), kRotationCropKeepSize, sampling).has_value());
    }
}

// Each row's start is its own truncation toward zero, never the last row's plus a
// step: at 10 degrees from (-7, 0), row 3 starts at
// x = trunc((-7 x 0.98481 + 3 x 0.17365) x 1024) = trunc(-6525.65) = -6525 (floor would
// give -6526), y = trunc((7 x 0.17365 + 3 x 0.98481) x 1024) = trunc(4270.05) = 4270.
TEST(RotationLayout, RowStartsTruncateTowardZero)
{
    const RotationLayout layout = Planned(57, 41, 10, kRotationKeepWhole);
    const FixedPoint start = layout.RowStart(3);
    EXPECT_EQ(std::pair(start.x, start.y), std::pair(-6525, 4270));
}
