// Exposure's pure arithmetic: the spline against a plain reference and against
// levels worked out by hand, both tables, the automatic limits, the controls'
// coordinates and the histogram picture.

#include "filters/exposure/ExposureKernel.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <utility>
#include <vector>

namespace {

// The natural spline in its polynomial form, second derivatives from a plain
// elimination of the tridiagonal system: another road to the same curve.
class ReferenceSpline {
public:
    ReferenceSpline(std::vector<double> x, std::vector<double> y) : m_x(std::move(x)), m_y(std::move(y))
    {
        const size_t n = m_x.size();
        m_m.assign(n, 0.0);
        if (n < 3) return;
        // Rows 1 .. n-2: h0 M(k-1) + 2 (h0 + h1) M(k) + h1 M(k+1) = 6 (slope1 - slope0).
        std::vector<double> diag(n), upper(n), rhs(n);
        for (size_t k = 1; k + 1 < n; ++k) {
            const double h0 = m_x[k] - m_x[k - 1];
            const double h1 = m_x[k + 1] - m_x[k];
            diag[k] = 2.0 * (h0 + h1);
            upper[k] = h1;
            rhs[k] = 6.0 * ((m_y[k + 1] - m_y[k]) / h1 - (m_y[k] - m_y[k - 1]) / h0);
            if (k > 1) {
                const double factor = h0 / diag[k - 1];
                diag[k] -= factor * upper[k - 1];
                rhs[k] -= factor * rhs[k - 1];
            }
        }
        for (size_t k = n - 2; k >= 1; --k) {
            m_m[k] = (rhs[k] - upper[k] * m_m[k + 1]) / diag[k];
        }
    }

    double At(double x) const
    {
        size_t i = 0;
        while (i + 2 < m_x.size() && x >= m_x[i + 1]) ++i;
        const double h = m_x[i + 1] - m_x[i];
        const double t = x - m_x[i];
        const double b = (m_y[i + 1] - m_y[i]) / h - h * (2.0 * m_m[i] + m_m[i + 1]) / 6.0;
        return m_y[i] + b * t + m_m[i] / 2.0 * t * t + (m_m[i + 1] - m_m[i]) / (6.0 * h) * t * t * t;
    }

private:
    std::vector<double> m_x, m_y, m_m;
};

std::array<uint8_t, 256> CurveTable(const std::vector<double>& x, const std::vector<double>& y)
{
    CNaturalSpline curve;
    curve.Build(x, y);
    std::array<uint8_t, 256> table{};
    BuildCurveTable(curve, table.data());
    return table;
}

std::array<uint8_t, 256> LineTable(double slope, double offset)
{
    std::array<uint8_t, 256> table{};
    BuildLineTable(slope, offset, table.data());
    return table;
}

} // namespace

TEST(ExposureSpline, ThreePointCurveGivesTheWorkedLevels)
{
    const auto table = CurveTable({0, 128, 255}, {0, 200, 255});
    const std::pair<int, int> worked[] = {{0, 0},     {32, 58},   {64, 113},  {96, 161}, {128, 200},
                                          {160, 225}, {192, 241}, {224, 249}, {255, 255}};
    for (const auto& [level, expected] : worked) EXPECT_EQ(table[static_cast<size_t>(level)], expected) << level;

    // By hand: sig = 128/255, u = 6 (55/127 - 200/128) / 255 / 2, and the natural
    // ends make the middle second derivative u itself.
    CNaturalSpline curve;
    ASSERT_TRUE(curve.Build({0, 128, 255}, {0, 200, 255}));
    const double middle = 6.0 * (55.0 / 127.0 - 200.0 / 128.0) / 255.0 / 2.0;
    EXPECT_NEAR(curve.SecondDerivative(1), middle, 1e-15);
    EXPECT_EQ(curve.SecondDerivative(0), 0.0);
    EXPECT_EQ(curve.SecondDerivative(2), 0.0);
}

TEST(ExposureSpline, MatchesThePolynomialFormInsideAndBeyondTheEnds)
{
    const std::vector<std::pair<std::vector<double>, std::vector<double>>> curves = {
        {{0, 128, 255}, {0, 200, 255}},
        {{10, 60, 61.5, 180, 240}, {30, 10, 90, 250, 100}},
        {{20, 200}, {40, 180}},
    };
    for (const auto& [x, y] : curves) {
        CNaturalSpline curve;
        ASSERT_TRUE(curve.Build(x, y));
        const ReferenceSpline reference(x, y);
        for (double at = -40.0; at <= 300.0; at += 0.75) {
            double value = 0.0;
            ASSERT_TRUE(curve.Evaluate(at, value));
            EXPECT_NEAR(value, reference.At(at), 1e-9) << "at " << at;
        }
        for (size_t k = 0; k < x.size(); ++k) {
            double value = 0.0;
            ASSERT_TRUE(curve.Evaluate(x[k], value));
            EXPECT_NEAR(value, y[k], 1e-9);
        }
    }
}

TEST(ExposureSpline, TwoPointsAreALineThatGoesOnBeyondThem)
{
    EXPECT_EQ(CurveTable({0, 255}, {0, 255}), LineTable(1.0, 0.0));
    CNaturalSpline curve;
    ASSERT_TRUE(curve.Build({100, 200}, {50, 100}));
    double value = 0.0;
    ASSERT_TRUE(curve.Evaluate(0.0, value));
    EXPECT_DOUBLE_EQ(value, 0.0);
    ASSERT_TRUE(curve.Evaluate(250.0, value));
    EXPECT_DOUBLE_EQ(value, 125.0);
    const auto table = CurveTable({100, 200}, {50, 100});
    EXPECT_EQ(table[0], 0);
    EXPECT_EQ(table[10], 5);
    EXPECT_EQ(table[255], 127);  // 127.5 truncated
}

TEST(ExposureSpline, OvershootIsClampedInTheTable)
{
    const std::vector<double> x{0, 30, 60, 120, 255};
    const std::vector<double> y{0, 240, 250, 5, 255};
    const auto table = CurveTable(x, y);
    const ReferenceSpline reference(x, y);
    bool above = false;
    bool below = false;
    for (int level = 0; level < 256; ++level) {
        const double value = reference.At(level);
        above = above || value > 256.0;
        below = below || value < -1.0;
        // Levels within a hair of a whole number may truncate either way.
        if (std::abs(value - std::round(value)) < 1e-6) continue;
        const int expected = value > 255.0 ? 255 : value < 0.0 ? 0 : static_cast<int>(value);
        EXPECT_EQ(table[static_cast<size_t>(level)], expected) << level;
    }
    EXPECT_TRUE(above);
    EXPECT_TRUE(below);
}

TEST(ExposureSpline, PointsThatDoNotIncreaseMakeNoCurveAndABlackTable)
{
    CNaturalSpline curve;
    ASSERT_TRUE(curve.Build({0, 255}, {0, 255}));
    EXPECT_FALSE(curve.Build({0, 100, 100, 255}, {0, 10, 20, 255}));
    EXPECT_FALSE(curve.IsValid());
    EXPECT_EQ(curve.Count(), 0);
    EXPECT_FALSE(curve.Build({0, 200, 100}, {0, 1, 2}));
    EXPECT_FALSE(curve.Build({5}, {5}));
    EXPECT_FALSE(curve.Build({}, {}));
    double value = 7.0;
    EXPECT_FALSE(curve.Evaluate(3.0, value));
    EXPECT_EQ(value, 7.0);
    for (uint8_t level : CurveTable({0, 100, 100}, {0, 1, 2})) EXPECT_EQ(level, 0);
}

TEST(ExposureLine, LimitsGiveTheWorkedTables)
{
    EXPECT_DOUBLE_EQ(SlopeOfLimits(0, 255), 1.0);
    EXPECT_EQ(OffsetOfLimits(0, 255), 0.0);
    const auto identity = LineTable(SlopeOfLimits(0, 255), OffsetOfLimits(0, 255));
    for (int i = 0; i < 256; ++i) EXPECT_EQ(identity[static_cast<size_t>(i)], i);

    EXPECT_DOUBLE_EQ(SlopeOfLimits(50, 200), 1.7);
    EXPECT_DOUBLE_EQ(OffsetOfLimits(50, 200), -85.0);
    const auto stretched = LineTable(SlopeOfLimits(50, 200), OffsetOfLimits(50, 200));
    for (int i = 0; i <= 50; ++i) EXPECT_EQ(stretched[static_cast<size_t>(i)], 0) << i;
    EXPECT_EQ(stretched[51], 1);    // 1.7
    EXPECT_EQ(stretched[100], 85);
    EXPECT_EQ(stretched[150], 170);
    EXPECT_EQ(stretched[199], 253);  // 253.3
    for (int i = 200; i < 256; ++i) EXPECT_EQ(stretched[static_cast<size_t>(i)], 255) << i;

    // A slope that is no number gives 0 rather than an undefined conversion.
    for (uint8_t level : LineTable(std::nan(""), 0.0)) EXPECT_EQ(level, 0);
}

TEST(ExposureAutomaticLimits, FromEitherEndTheFirstLevelThatReachesTheThreshold)
{
    struct Case {
        std::vector<std::pair<int, uint32_t>> counts;  // level, count
        int left;
        int right;
    };
    const Case cases[] = {
        // Third-largest 1000: the threshold is 30.
        {{{0, 5000}, {255, 4000}, {128, 1000}, {20, 29}, {21, 30}, {240, 30}, {241, 29}}, 21, 240},
        // Third-largest 20: 0.6 truncates to 0, which becomes 10.
        {{{0, 100}, {255, 100}, {128, 20}, {4, 9}, {5, 10}, {200, 10}, {201, 9}}, 5, 200},
        // Levels 0 and 255 are never limits, however full.
        {{{0, 900}, {255, 900}, {1, 600}, {254, 600}}, 1, 254},
    };
    for (const Case& worked : cases) {
        std::array<uint32_t, 256> counts{};
        for (const auto& [level, count] : worked.counts) counts[static_cast<size_t>(level)] = count;
        int left = 0;
        int right = 255;
        ASSERT_TRUE(FindAutomaticLimits(counts.data(), left, right));
        EXPECT_EQ(std::pair(left, right), std::pair(worked.left, worked.right));
    }
}

TEST(ExposureAutomaticLimits, LimitsStayWhenNoTwoLevelsReachTheThreshold)
{
    std::array<uint32_t, 256> counts{};
    int left = 3;
    int right = 250;
    EXPECT_FALSE(FindAutomaticLimits(counts.data(), left, right));  // nothing counted
    counts[0] = 100;
    counts[255] = 100;
    counts[128] = 5;  // below the threshold of 10
    EXPECT_FALSE(FindAutomaticLimits(counts.data(), left, right));
    counts[128] = 50;  // reached at one level only
    EXPECT_FALSE(FindAutomaticLimits(counts.data(), left, right));
    EXPECT_EQ(std::pair(left, right), std::pair(3, 250));
}

TEST(ExposureCoordinates, CurveValuesAndPixels)
{
    const auto xy = [](auto point) { return std::pair<double, double>(point.x, point.y); };
    // 256 x 256: one pixel a level, y up.
    EXPECT_EQ(xy(CurveValueOfPixel({0, 255}, 256, 256)), std::pair(0.0, 0.0));
    EXPECT_EQ(xy(CurveValueOfPixel({255, 0}, 256, 256)), std::pair(255.0, 255.0));
    // 101 x 51: x = 40 / 100 x 255, y = (50 - 10) / 50 x 255.
    EXPECT_DOUBLE_EQ(CurveValueOfPixel({40, 10}, 101, 51).x, 102.0);
    EXPECT_DOUBLE_EQ(CurveValueOfPixel({40, 10}, 101, 51).y, 204.0);
    // Outside the control the values clamp.
    EXPECT_EQ(xy(CurveValueOfPixel({-5, 80}, 101, 51)), std::pair(0.0, 0.0));
    EXPECT_EQ(xy(CurveValueOfPixel({120, -3}, 101, 51)), std::pair(255.0, 255.0));

    EXPECT_EQ(xy(PixelOfCurveValue({0.0, 0.0}, 101, 51)), std::pair(0.0, 50.0));
    EXPECT_EQ(xy(PixelOfCurveValue({255.0, 255.0}, 101, 51)), std::pair(100.0, 0.0));
    // 128 / 255 x 100 = 50.2 and 200 / 255 x 50 = 39.2: both truncate.
    EXPECT_EQ(xy(PixelOfCurveValue({128.0, 200.0}, 101, 51)), std::pair(50.0, 11.0));
}

TEST(ExposureCoordinates, HistogramLevelsAndColumns)
{
    EXPECT_EQ(ColumnOfLevel(0, 101), 0);
    EXPECT_EQ(ColumnOfLevel(128, 101), 50);   // 100 / 255 x 128 = 50.2
    EXPECT_EQ(ColumnOfLevel(255, 101), 100);
    EXPECT_EQ(ColumnOfLevel(300, 101), 101);  // clamped to the width itself
    EXPECT_EQ(ColumnOfLevel(-9, 101), 0);
    EXPECT_EQ(LevelOfColumn(50, 101), 127);   // 255 / 100 x 50 = 127.5
    // 255 / 100 is a hair below 2.55: the last column of this width reads 254.
    EXPECT_EQ(LevelOfColumn(100, 101), 254);
    EXPECT_EQ(LevelOfColumn(255, 256), 255);
    EXPECT_EQ(LevelOfColumn(130, 101), 255);
    EXPECT_EQ(LevelOfColumn(-2, 101), 0);
}

TEST(ExposureHistogramPicture, BarsScaleToTheThirdLargestCount)
{
    std::array<uint32_t, 256> counts{};
    counts[10] = 100;
    counts[20] = 50;
    counts[30] = 25;  // third-largest: a count of 25 reaches 256, past the top
    counts[40] = 10;  // 102.4 pixels
    std::vector<uint32_t> picture(256 * 256);
    DrawHistogramPicture(counts.data(), picture.data());
    constexpr uint32_t kBar = 0xFF78C8C8;
    constexpr uint32_t kWhite = 0xFFFFFFFF;
    auto at = [&](int x, int y) { return picture[static_cast<size_t>(y) * 256 + static_cast<size_t>(x)]; };
    for (int y = 0; y < 256; ++y) EXPECT_EQ(at(0, y), kWhite) << y;
    for (int column : {10, 20, 30}) {
        EXPECT_EQ(at(column, 0), kWhite);  // the line leaves out its end, so 255 rows at most
        for (int y = 1; y < 256; ++y) EXPECT_EQ(at(column, y), kBar) << column << "," << y;
    }
    EXPECT_EQ(at(40, 153), kWhite);
    for (int y = 154; y < 256; ++y) EXPECT_EQ(at(40, y), kBar) << y;

    // Nothing counted: scale 1, an empty white picture.
    std::array<uint32_t, 256> none{};
    DrawHistogramPicture(none.data(), picture.data());
    for (uint32_t pixel : picture) ASSERT_EQ(pixel, kWhite);
}
