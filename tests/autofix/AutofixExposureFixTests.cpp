// The exposure fix's limits and table from luminance counts built by hand. The
// expected table is the stretch written out in the test: entry i = i x M + B,
// truncated into 0..255, with M = 255 / (right - left) and B = -left x M.

#include "filters/autofix/AutofixExposureFix.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <utility>

namespace {

using Counts = std::array<uint32_t, 256>;

std::array<uint8_t, 256> StretchOf(int left, int right)
{
    const double m = 255.0 / (right - left);
    const double b = -left * m;
    std::array<uint8_t, 256> table{};
    for (int i = 0; i < 256; ++i) table[i] = static_cast<uint8_t>(std::clamp(i * m + b, 0.0, 255.0));
    return table;
}

std::array<uint8_t, 256> TableOf(const Counts& counts)
{
    std::array<uint8_t, 256> table{};
    BuildExposureFixTable(counts.data(), table.data());
    return table;
}

// Three peaks of 10000 make the threshold 100; levels 50 and 200 hold exactly that,
// the levels outside them one less, the levels between them from 0 to 5000.
Counts ReachingAHundredthAt50And200()
{
    Counts counts{};
    for (int level = 0; level < 256; ++level) counts[level] = level < 50 || level > 200 ? 99 : (level * 37) % 5001;
    counts[50] = 100;
    counts[200] = 100;
    counts[90] = counts[120] = counts[150] = 10000;
    return counts;
}

} // namespace

TEST(AutofixExposureFix, ADenseSpanFrom0To255KeepsEveryLevel)
{
    Counts counts{};
    for (int level = 0; level < 256; ++level) counts[level] = 500 + (level * 13) % 400;
    const ExposureFixLimits limits = FindExposureFixLimits(counts.data());
    EXPECT_EQ(std::pair(limits.left, limits.right), std::pair(0, 255));
    const std::array<uint8_t, 256> table = TableOf(counts);
    for (int i = 0; i < 256; ++i) EXPECT_EQ(table[i], i) << i;
}

TEST(AutofixExposureFix, AHundredthOfTheThirdLargestCountExactlyAt50And200)
{
    const Counts counts = ReachingAHundredthAt50And200();
    const ExposureFixLimits limits = FindExposureFixLimits(counts.data());
    EXPECT_EQ(std::pair(limits.left, limits.right), std::pair(50, 200));
    const std::array<uint8_t, 256> table = TableOf(counts);
    EXPECT_EQ(table, StretchOf(50, 200));
    // By hand: M = 1.7, B = -85.
    EXPECT_EQ(table[0], 0);
    EXPECT_EQ(table[50], 0);
    EXPECT_EQ(table[51], 1);
    EXPECT_EQ(table[100], 85);
    EXPECT_EQ(table[200], 255);
    EXPECT_EQ(table[255], 255);
}

// 901, 900, 900, 600: the third largest is 900, equal counts taken one by one, so
// the threshold is 9 and a level of 8 is left out.
TEST(AutofixExposureFix, EqualCountsAreTakenOneByOne)
{
    Counts counts{};
    counts[10] = 8;
    counts[11] = 9;
    counts[60] = 901;
    counts[70] = 900;
    counts[80] = 900;
    counts[90] = 600;
    counts[230] = 9;
    counts[231] = 8;
    const ExposureFixLimits limits = FindExposureFixLimits(counts.data());
    EXPECT_EQ(std::pair(limits.left, limits.right), std::pair(11, 230));
    EXPECT_EQ(TableOf(counts), StretchOf(11, 230));
}

// Below 100 the threshold is 0, which every level reaches.
TEST(AutofixExposureFix, AThirdLargestCountBelowAHundredStretchesNothing)
{
    Counts counts{};
    counts[100] = 1000;
    counts[101] = 1000;
    counts[102] = 99;
    const ExposureFixLimits limits = FindExposureFixLimits(counts.data());
    EXPECT_EQ(std::pair(limits.left, limits.right), std::pair(0, 255));
}
