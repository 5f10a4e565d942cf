// The estimator: the block side, a grid of blocks whose variances are known by
// construction, block values of every mode, the crowded-range search worked by hand,
// and whole estimates against the plain reference.

#include "tests/shared/noise/NoiseReference.h"

#include "filters/shared/noise/NoiseEstimator.h"

#include <gtest/gtest.h>

#include <random>

namespace {

using noise_reference::Colour;
using noise_reference::Picture;
using noise_reference::Triple;

uint32_t Grey(int level) { return Colour(level, level, level, 0x80); }

BlockVariances Block(double ofValues, double first, double second = 0.0, double third = 0.0)
{
    BlockVariances block;
    block.ofValues = ofValues;
    block.ofChannels[0] = first;
    block.ofChannels[1] = second;
    block.ofChannels[2] = third;
    return block;
}

// A side x side checkerboard of the two pixels with its corner at (left, bottom).
void Checkerboard(Picture& picture, int left, int bottom, int side, uint32_t even, uint32_t odd)
{
    for (int y = bottom; y < bottom + side; ++y) {
        for (int x = left; x < left + side; ++x) picture.At(x, y) = (x + y) % 2 == 0 ? even : odd;
    }
}

} // namespace

TEST(NoiseEstimator, BlockSideHasAFloorAndKeepsAtMost255BlocksAcross)
{
    EXPECT_EQ(EstimatorBlockSide(4000, 3000, 20), 20);  // 200 x 150 blocks
    EXPECT_EQ(EstimatorBlockSide(400, 400, 4), 10);
    EXPECT_EQ(EstimatorBlockSide(5100, 400, 20), 20);    // exactly 255 across
    EXPECT_EQ(EstimatorBlockSide(5120, 400, 20), 21);    // 256: 5120 / 255 + 1
    EXPECT_EQ(EstimatorBlockSide(400, 6000, 20), 24);    // 300 down: 6000 / 255 + 1
}

TEST(NoiseEstimator, TheGridIsCentredAndReadFromTheBottomRowLeftToRight)
{
    // 65 x 47 in blocks of 10: 6 x 4 blocks from column 2 and row 3. Around the grid
    // the picture alternates black and white, so a shifted block would see it. Block
    // k (from the bottom left) is a checkerboard of grey base +- (k + 1): variance
    // (k + 1)^2 by the count. Four blocks sit on the limits of taking part.
    Picture picture(65, 47);
    for (int y = 0; y < 47; ++y) {
        for (int x = 0; x < 65; ++x) picture.At(x, y) = Grey((x + y) % 2 == 0 ? 0 : 255);
    }
    auto baseOf = [](int k) { return k == 5 ? 20 : k == 6 ? 235 : k == 7 ? 21 : k == 8 ? 234 : 100 + k; };
    for (int k = 0; k < 24; ++k) {
        const int d = k == 6 || k == 8 ? 3 : k + 1;
        Checkerboard(picture, 2 + 10 * (k % 6), 3 + 10 * (k / 6), 10, Grey(baseOf(k) + d), Grey(baseOf(k) - d));
    }
    for (const bool divideByCount : {true, false}) {
        EstimatorInputs inputs;
        inputs.divideByCount = divideByCount;
        std::vector<BlockVariances> blocks;
        ASSERT_TRUE(MeasureBlocks(picture.Rows(), 10, inputs, {}, blocks));
        ASSERT_EQ(blocks.size(), 22u);  // means 20 and 235 are out, 21 and 234 in
        size_t i = 0;
        for (int k = 0; k < 24; ++k) {
            if (k == 5 || k == 6) continue;
            const int d = k == 8 ? 3 : k + 1;
            // n Q - S^2 = n^2 d^2 for a half-and-half board.
            const double expected = divideByCount ? double(d * d) : double(10000 * d * d) / 9900.0;
            EXPECT_EQ(blocks[i].ofValues, expected) << k;
            for (const double channel : blocks[i].ofChannels) EXPECT_EQ(channel, expected) << k;
            ++i;
        }
    }
}

TEST(NoiseEstimator, BlockValuesAndChannelsOfEveryMode)
{
    // A board of (200, 100, 50) and (180, 90, 40): each measure takes two values a
    // and b, half the block each, so its variance by the count is ((a - b) / 2)^2.
    // Lumas 127662 >> 10 = 124 and 114362 >> 10 = 111; largest 200 and 180; middles
    // 251 >> 1 = 125 and 221 >> 1 = 110; means 351 / 3 = 117 and 311 / 3 = 103.
    // As luma and differences: (124, 54, -42) and (111, 49, -40).
    Picture picture(10, 10);
    Checkerboard(picture, 0, 0, 10, Colour(200, 100, 50), Colour(180, 90, 40));
    const struct {
        int mode;
        double ofValues;
    } modes[] = {{1, 42.25}, {2, 100.0}, {3, 56.25}, {0, 49.0}, {7, 49.0}};
    for (const auto& [mode, ofValues] : modes) {
        for (const bool luma : {false, true}) {
            EstimatorInputs inputs;
            inputs.blockValueMode = mode;
            inputs.lumaChannels = luma;
            std::vector<BlockVariances> blocks;
            ASSERT_TRUE(MeasureBlocks(picture.Rows(), 10, inputs, {}, blocks));
            ASSERT_EQ(blocks.size(), 1u);
            EXPECT_EQ(blocks[0].ofValues, ofValues) << mode;
            const double expected[2][3] = {{100.0, 25.0, 25.0}, {42.25, 6.25, 1.0}};
            for (int c = 0; c < 3; ++c) EXPECT_EQ(blocks[0].ofChannels[c], expected[luma][c]) << mode << luma;
        }
    }
}

TEST(NoiseEstimator, TheSearchNarrowsToTheFirstMostCrowdedRange)
{
    // Width 896 -> 298.7: from 4 the window reaches 302.7 and holds six blocks. 99.6:
    // still six. 33.2: the 4s and the 100s hold three each, the first start wins.
    // 11.1 -> 3.7: the three 4s, whose channel means are 4, 5 and 6.
    const NoiseLevels crowded = LevelsOfMostCrowdedRange({Block(100, 90, 90, 90), Block(4, 2, 3, 4), Block(900, 9, 9, 9),
                                                          Block(100, 90, 90, 90), Block(4, 4, 5, 6),
                                                          Block(100, 90, 90, 90), Block(4, 6, 7, 8)});
    EXPECT_EQ(Triple(crowded), Triple({4, 5, 6}));
    // 0, 50, 52, 54, 200: width 66.7 keeps 0 to 54 (four), 22.2 then starts at 50
    // (three, against one from 0), 7.4 ends the search.
    const NoiseLevels later = LevelsOfMostCrowdedRange(
        {Block(0, 1, 1, 1), Block(50, 10, 20, 30), Block(52, 20, 30, 40), Block(54, 30, 40, 50), Block(200, 1, 1, 1)});
    EXPECT_EQ(Triple(later), Triple({20, 30, 40}));
    // At most 10 wide from the start: every block counts.
    EXPECT_EQ(Triple(LevelsOfMostCrowdedRange({Block(5, 3, 3, 3), Block(15, 6, 9, 3), Block(12, 9, 3, 3)})),
              Triple({6, 5, 3}));
}

TEST(NoiseEstimator, EqualVariancesKeepTheirOrderInTheSum)
{
    // Sorted stably, the blocks of variance 50 are summed in the order given.
    const NoiseLevels levels = LevelsOfMostCrowdedRange(
        {Block(50, 10.1, 1, 1), Block(50, 20.3, 1, 1), Block(50, 30.7, 1, 1), Block(49, 0, 1, 1)});
    const double inOrder = (((0.0 + 10.1) + 20.3) + 30.7) / 4;
    ASSERT_NE(inOrder, (((0.0 + 30.7) + 20.3) + 10.1) / 4);  // the order shows in the bits
    EXPECT_EQ(levels.first, inOrder);
}

TEST(NoiseEstimator, LevelsAreClampedExceptWithoutBlocks)
{
    EXPECT_EQ(Triple(LevelsOfMostCrowdedRange({})), Triple({0, 0, 0}));
    EXPECT_EQ(Triple(LevelsOfMostCrowdedRange({Block(0, 0, 0.5, 1000), Block(3, 0, 0.5, 1000)})),
              Triple({1, 1, 200}));
    EXPECT_EQ(Triple(LevelsOfMostCrowdedRange({Block(0, 1, 200, 0.999)})), Triple({1, 200, 1}));
}

TEST(NoiseEstimator, SmallPicturesAreNotEstimated)
{
    for (const auto& [width, height, block] : {std::tuple{319, 400, 20}, {400, 319, 20}, {330, 330, 331}}) {
        Picture picture = noise_reference::GrainyPicture(width, height, 9, 5);
        std::vector<std::pair<int, int>> reports;
        NoiseLevels estimates{7, 7, 7};
        EstimatorInputs inputs;
        inputs.blockSize = block;
        ASSERT_TRUE(EstimateNoiseLevels(picture.Rows(), inputs, [&](int done, int total) {
            reports.emplace_back(done, total);
            return true;
        }, estimates));
        EXPECT_EQ(Triple(estimates), Triple({0, 0, 0}));
        EXPECT_EQ(reports, (std::vector<std::pair<int, int>>{{height, height}}));
    }
}

TEST(NoiseEstimator, ReportsEachBlockRowThenTheHeightAndStops)
{
    // 330 x 345 in blocks of 20: 17 block rows from row 2.
    Picture picture = noise_reference::GrainyPicture(330, 345, 9, 6);
    std::vector<int> reports;
    NoiseLevels estimates;
    ASSERT_TRUE(EstimateNoiseLevels(picture.Rows(), {}, [&](int done, int total) {
        EXPECT_EQ(total, 345);
        reports.push_back(done);
        return true;
    }, estimates));
    std::vector<int> expected;
    for (int row = 1; row < 17; ++row) expected.push_back(2 + 20 * row);
    expected.push_back(345);
    EXPECT_EQ(reports, expected);
    EXPECT_FALSE(EstimateNoiseLevels(picture.Rows(), {}, [](int done, int) { return done < 100; }, estimates));
}

TEST(NoiseEstimator, WholeEstimatesAsThePlainReference)
{
    std::mt19937 random(77);
    struct Case {
        int width, height, grain, block, mode;
    };
    const Case cases[] = {{320, 320, 3, 20, 1}, {347, 331, 8, 20, 2}, {333, 401, 20, 10, 3},
                          {401, 333, 2, 33, 0}, {5200, 320, 5, 20, 1}};
    for (const Case& c : cases) {
        const Picture picture = noise_reference::GrainyPicture(c.width, c.height, c.grain, random());
        for (const bool luma : {false, true}) {
            for (const bool divideByCount : {true, false}) {
                EstimatorInputs inputs{c.block, c.mode, luma, divideByCount, 320};
                NoiseLevels estimates;
                Picture copy = picture;
                ASSERT_TRUE(EstimateNoiseLevels(copy.Rows(), inputs, {}, estimates));
                const NoiseLevels expected =
                    noise_reference::Estimate(picture, {c.block, c.mode, luma, divideByCount, 320});
                EXPECT_EQ(Triple(estimates), Triple(expected));
                EXPECT_GT(estimates.first, 0.0);
                EXPECT_EQ(copy, picture);  // estimating only reads
            }
        }
    }
}
