// Line fits of the straightening detection on hand-worked points: flat and steep
// lines with the sign of their angles, the tie between the two, the largest residual
// a chain would have with one more point, and the extent test.

#include "filters/shared/straightening/LineFit.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

PointSums SumsOf(const std::vector<ChainPoint>& points)
{
    PointSums sums;
    for (const ChainPoint point : points) sums.Add(point);
    return sums;
}

} // namespace

TEST(LineFit, FlatLinesFitYAgainstX)
{
    // On y = 0.5 x + 2, rising to the right: angle atan(0.5), no residual.
    const std::vector<ChainPoint> points{{0, 2}, {2, 3}, {4, 4}, {6, 5}};
    const FittedLine line = FitLine(SumsOf(points));
    ASSERT_TRUE(line.fitted);
    EXPECT_FALSE(line.steep);
    EXPECT_DOUBLE_EQ(line.slope, 0.5);
    EXPECT_DOUBLE_EQ(line.intercept, 2.0);
    EXPECT_DOUBLE_EQ(line.angle, std::atan(0.5));
    for (const ChainPoint point : points) EXPECT_EQ(line.Residual(point), 0.0);
    EXPECT_DOUBLE_EQ(line.Residual({2, 5}), 2.0);
}

TEST(LineFit, SteepLinesFitXAgainstYAndTurnTheSign)
{
    // On x = -0.25 y + 3: x falls as y grows, which counts as positive.
    const std::vector<ChainPoint> points{{3, 0}, {2, 4}, {1, 8}, {0, 12}};
    const FittedLine line = FitLine(SumsOf(points));
    ASSERT_TRUE(line.fitted);
    EXPECT_TRUE(line.steep);
    EXPECT_DOUBLE_EQ(line.slope, -0.25);
    EXPECT_DOUBLE_EQ(line.intercept, 3.0);
    EXPECT_DOUBLE_EQ(line.angle, std::atan(0.25));
    EXPECT_DOUBLE_EQ(line.Residual({4, 4}), 2.0);  // measured along x
}

TEST(LineFit, FortyFiveDegreesIsFlatAndOnePointIsNoFit)
{
    const FittedLine diagonal = FitLine(SumsOf({{0, 0}, {1, 1}, {2, 2}}));
    EXPECT_FALSE(diagonal.steep);
    EXPECT_DOUBLE_EQ(diagonal.angle, std::atan(1.0));
    const FittedLine falling = FitLine(SumsOf({{0, 2}, {1, 1}, {2, 0}}));
    EXPECT_DOUBLE_EQ(falling.angle, -std::atan(1.0));

    const FittedLine single = FitLine(SumsOf({{5, 7}, {5, 7}}));
    EXPECT_FALSE(single.fitted);
    EXPECT_EQ(single.angle, 0.0);
    EXPECT_EQ(single.Residual({9, 9}), 0.0);
}

TEST(LineFit, LargestResidualWithOneMorePoint)
{
    // (0,0), (1,0), (2,0) and (3,1): n 4, Sx 6, Sy 1, Sxx 14, Sxy 3; Dx 20, Dy 3, so
    // y = 0.3 x - 0.2 with residuals 0.2, -0.1, -0.4, 0.3.
    const std::vector<ChainPoint> chain{{0, 0}, {1, 0}, {2, 0}};
    EXPECT_NEAR(LargestResidualWith(chain, SumsOf(chain), {3, 1}), 0.4, 1e-12);
    EXPECT_NEAR(LargestResidualWith(chain, SumsOf(chain), {3, 0}), 0.0, 1e-12);
    // Two points always fit.
    const std::vector<ChainPoint> start{{4, 4}};
    EXPECT_NEAR(LargestResidualWith(start, SumsOf(start), {5, 5}), 0.0, 1e-12);
}

TEST(LineFit, ExtentTestKeepsAxisParallelChainsAndDropsLinesMissingTheBox)
{
    const std::vector<ChainPoint> horizontal{{2, 5}, {3, 5}, {4, 5}, {5, 5}};
    EXPECT_TRUE(LineMeetsBox(FitLine(SumsOf(horizontal)), horizontal, 10, 10));
    const std::vector<ChainPoint> vertical{{7, 0}, {7, 1}, {7, 2}};
    EXPECT_TRUE(LineMeetsBox(FitLine(SumsOf(vertical)), vertical, 10, 10));

    const std::vector<ChainPoint> low{{0, 0}, {2, 1}, {4, 1}};
    FittedLine above;
    above.fitted = true;
    above.intercept = 3.0;  // y = 3 across columns 0 to 4: rows 3 miss rows 0 to 1
    EXPECT_FALSE(LineMeetsBox(above, low, 10, 10));
    above.intercept = 1.4;  // y = 1.4 is drawn in row 1
    EXPECT_TRUE(LineMeetsBox(above, low, 10, 10));
    FittedLine outside;
    outside.fitted = true;
    outside.slope = 0.5;
    outside.intercept = -3.0;  // rows -3 to -1: all outside the plane, nothing drawn
    EXPECT_FALSE(LineMeetsBox(outside, low, 10, 10));
    FittedLine steepOutside;
    steepOutside.fitted = true;
    steepOutside.steep = true;
    steepOutside.intercept = 12.0;  // column 12 of a plane 10 wide
    EXPECT_FALSE(LineMeetsBox(steepOutside, low, 10, 10));
    // In a plane 13 wide it is drawn, in column 12, right of the box's columns 0 to 4.
    EXPECT_FALSE(LineMeetsBox(steepOutside, low, 13, 10));
}
