// The reduction: worked windows by hand (means, rounding, divisors, the deciding
// channel's ties), then the fast sliding loops against the plain reference on small
// odd pictures for every channel and divisor switch.

#include "tests/shared/KernelVariants.h"
#include "tests/shared/noise/NoiseReference.h"

#include "filters/shared/noise/NoiseReduction.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <random>
#include <vector>

namespace {

using noise_reference::Colour;
using noise_reference::Picture;

uint32_t Grey(int level, uint32_t fourth = 0) { return Colour(level, level, level, fourth); }

Picture Row(std::initializer_list<uint32_t> pixels)
{
    Picture picture(static_cast<int>(pixels.size()), 1);
    int x = 0;
    for (uint32_t pixel : pixels) picture.At(x++, 0) = pixel;
    return picture;
}

ReductionInputs Inputs(NoiseLevels deciding, NoiseLevels others, bool divideByCount = true, int radius = 1)
{
    ReductionInputs inputs;
    inputs.radius = radius;
    inputs.divideByCount = divideByCount;
    inputs.deciding = deciding;
    inputs.others = others;
    return inputs;
}

Picture Reduced(Picture picture, const ReductionInputs& inputs)
{
    EXPECT_TRUE(ReduceNoiseOfRows(picture.Rows(), inputs, {}));
    return picture;
}

using Words = std::vector<uint32_t>;

// The pixels of a one-row picture after the reduction.
Words ReducedRow(std::initializer_list<uint32_t> pixels, const ReductionInputs& inputs)
{
    const Picture reduced = Reduced(Row(pixels), inputs);
    Words row;
    for (int x = 0; x < reduced.width; ++x) row.push_back(reduced.At(x, 0));
    return row;
}

} // namespace

TEST(NoiseReduction, FlatWindowsTakeTheClippedMeanRoundedHalfUp)
{
    // Radius 1 on one row: the windows are {10, 20}, {10, 20, 60}, {20, 60}.
    EXPECT_EQ(ReducedRow({Grey(10, 0xFF), Grey(20, 0x11), Grey(60, 0x22)}, Inputs({1000, 0, 0}, {})),
              (Words{Grey(15), Grey(30), Grey(40)}));
    // {10, 21}: the mean 15.5 rounds up.
    EXPECT_EQ(ReducedRow({Grey(10), Grey(21)}, Inputs({1000, 0, 0}, {})), (Words{Grey(16), Grey(16)}));
}

TEST(NoiseReduction, TheDivisorDecidesFlatnessAndTheStrength)
{
    // {10, 20}: S = 30, Q = 500, n = 2, m = 15, Q - n m m = 50; variance 25 or 50.
    EXPECT_EQ(ReducedRow({Grey(10), Grey(20)}, Inputs({30, 0, 0}, {30, 30, 30}, true)), (Words{Grey(15), Grey(15)}));
    // Level 20 below the variance 50: 15 + (50 - 20) / 50 x (x - 15) = 12 and 18.
    EXPECT_EQ(ReducedRow({Grey(10), Grey(20)}, Inputs({20, 0, 0}, {20, 20, 20}, false)), (Words{Grey(12), Grey(18)}));
}

TEST(NoiseReduction, ChannelsBelowTheirOwnLevelTakeTheMeanTheOthersKeepDetail)
{
    // Red decides (largest mean) and is not flat at level 0; green's estimate covers
    // its variance 25, blue's does not: 15 + (25 - 5) / 25 x (x - 15) = 11 and 19.
    EXPECT_EQ(ReducedRow({Colour(100, 10, 10), Colour(120, 20, 20)}, Inputs({0, 0, 0}, {0, 25, 5})),
              (Words{Colour(100, 15, 11), Colour(120, 15, 19)}));
}

TEST(NoiseReduction, TheFirstChannelWinsEveryTieAndTheThirdATieWithTheSecond)
{
    // Equal means everywhere: the first channel decides, flat by its level 1000. Had
    // another decided, level 0 would keep every pixel as it is.
    EXPECT_EQ(ReducedRow({Grey(10), Grey(20), Grey(60)}, Inputs({1000, 0, 0}, {}))[0], Grey(15));
    EXPECT_EQ(ReducedRow({Grey(10), Grey(20), Grey(60)}, Inputs({0, 1000, 1000}, {0.5, 0.5, 0.5})),
              (Words{Grey(10), Grey(20), Grey(60)}));
    // Green and blue tie above red: blue decides.
    const auto cyan = [](int level) { return Colour(0, level, level); };
    EXPECT_EQ(ReducedRow({cyan(10), cyan(20), cyan(60)}, Inputs({0, 0, 1000}, {0.5, 0.5, 0.5}))[1], cyan(30));
    EXPECT_EQ(ReducedRow({cyan(10), cyan(20), cyan(60)}, Inputs({0, 1000, 0}, {0.5, 0.5, 0.5}))[1], cyan(20));
    // Red and blue tie above green: red decides.
    const auto magenta = [](int level) { return Colour(level, 0, level); };
    EXPECT_EQ(ReducedRow({magenta(10), magenta(20)}, Inputs({1000, 0, 0}, {0.5, 0.5, 0.5}))[0], magenta(15));
}

TEST(NoiseReduction, AllLevelsZeroLeaveEveryByteOtherwiseTheFourthByteClears)
{
    Picture picture = noise_reference::GrainyPicture(9, 7, 6, 11);
    const Picture before = picture;
    EXPECT_TRUE(ReduceNoiseOfRows(picture.Rows(), Inputs({}, {}, true, 3), {}));
    EXPECT_EQ(picture, before);
    // A level on one estimate only: every pixel is written, fourth bytes 0.
    EXPECT_TRUE(ReduceNoiseOfRows(picture.Rows(), Inputs({}, {0, 0, 1e-9}, true, 3), {}));
    for (int y = 0; y < 7; ++y) {
        for (int x = 0; x < 9; ++x) EXPECT_EQ(picture.At(x, y) >> 24, 0u);
    }
}

TEST(NoiseReduction, ALonePixelKeepsItsColours)
{
    for (const bool divideByCount : {true, false}) {
        const Picture picture = Reduced(Row({Colour(200, 100, 50, 0x7F)}), Inputs({3, 4, 5}, {6, 7, 8}, divideByCount));
        EXPECT_EQ(picture.At(0, 0), Colour(200, 100, 50)) << divideByCount;
    }
}

TEST(NoiseReduction, LumaChannelsTransformThereAndBackTruncatingTowardZero)
{
    // (200, 100, 50): Y = 127662 >> 10 = 124, C1 = 55912 >> 10 = 54,
    // C2 = -42388 >> 10 = -42 (a floor). Two such pixels make every window flat with
    // the means 124, 54 and -42; trunc(-42 + 0.5) = -41. Back: R = 205032 >> 10 = 200,
    // B = (1814 x -41 + 127488) >> 10 = 53114 >> 10 = 51,
    // G = (1746 x 124 - 522 x 200 - 200 x 51 + 512) >> 10 = 102416 >> 10 = 100.
    ReductionInputs inputs = Inputs({1, 1, 1}, {1, 1, 1});
    inputs.lumaChannels = true;
    EXPECT_EQ(ReducedRow({Colour(200, 100, 50, 9), Colour(200, 100, 50, 9)}, inputs),
              (Words{Colour(200, 100, 51), Colour(200, 100, 51)}));
    // Greys 100 and 101: Y 100 and 101, differences 0; Y's variance 0.25 is below 1,
    // its mean 100.5 rounds to 101, which maps back to grey 101.
    EXPECT_EQ(ReducedRow({Grey(100), Grey(101)}, inputs), (Words{Grey(101), Grey(101)}));
}

TEST(NoiseReduction, FlatnessFollowsTheDoubleVarianceWhereItDiffersFromTheExactOne)
{
    // Red decides in the middle window {95, 95, 100}: exactly 50 / 9, in double
    // 5.5555555555547 (the subtraction cancels). At that level the double arithmetic
    // calls the window flat and green takes its mean 30; the exact variance would not,
    // and green, held to an estimate of 0, would keep its 50.
    const double mean = 290.0 / 3;
    const double level = (28050.0 - (3 * mean) * mean) / 3;
    ASSERT_LT(level * 9, 50.0);
    const ReductionInputs inputs = Inputs({level, 0, 0}, {0, 0, 1});
    EXPECT_EQ(ReducedRow({Colour(95, 10, 0), Colour(95, 50, 0), Colour(100, 30, 0)}, inputs)[1], Colour(97, 30, 0));
}

// Radii up to past the picture, sizes from one pixel to a few windows, levels that
// make some windows flat and some not, and integer levels that meet integer
// variances exactly; for both ways of reducing.
struct ReductionLoops : kernel_variants::Named {
    const ReductionVariant* variant;
};

class NoiseReductionAgainstReference : public KernelVariantTest<ReductionLoops> {};

TEST_P(NoiseReductionAgainstReference, EveryPixelAsThePlainWindowGivesIt)
{
    std::mt19937 random(404);
    const std::pair<int, int> sizes[] = {{1, 1}, {1, 9}, {11, 1}, {2, 3}, {5, 3}, {13, 11}, {23, 9}, {31, 17}};
    const NoiseLevels levelSets[][2] = {
        {{0, 0, 0}, {0, 0, 2}},     {{4, 9, 1}, {2, 2, 2}},      {{30, 30, 30}, {30, 30, 30}},
        {{12.5, 7.25, 3}, {6, 100, 0.75}}, {{200, 1, 50}, {1, 200, 1}}, {{2, 2, 2}, {0, 0, 0}},
    };
    int checked = 0;
    for (const bool luma : {false, true}) {
        for (const bool divideByCount : {true, false}) {
            for (const auto& [width, height] : sizes) {
                for (const int grain : {1, 4, 40}) {
                    const Picture input = noise_reference::GrainyPicture(width, height, grain, random());
                    for (const int radius : {1, 2, 3, 6, 10}) {
                        for (const auto& levels : levelSets) {
                            ReductionInputs inputs = Inputs(levels[0], levels[1], divideByCount, radius);
                            inputs.lumaChannels = luma;
                            Picture picture = input;
                            ASSERT_TRUE(ReduceNoiseOfRows(picture.Rows(), inputs, {}, *GetParam().variant));
                            noise_reference::Reduction how{radius, luma, divideByCount, levels[0], levels[1]};
                            ASSERT_EQ(picture, noise_reference::Reduce(input, how))
                                << width << "x" << height << " grain " << grain << " radius " << radius << " luma "
                                << luma << " by count " << divideByCount;
                            ++checked;
                        }
                    }
                }
            }
        }
    }
    EXPECT_EQ(checked, 4 * 8 * 3 * 5 * 6);
}

// Wider rows than the vectors, at widths that leave every remainder.
TEST_P(NoiseReductionAgainstReference, WideRowsAsThePortableLoops)
{
    std::mt19937 random(405);
    for (const int width : {37, 64, 101, 259}) {
        const Picture input = noise_reference::GrainyPicture(width, 13, 5, random());
        for (const bool luma : {false, true}) {
            ReductionInputs inputs = Inputs({9, 16, 4}, {6, 3.5, 12}, true, 3);
            inputs.lumaChannels = luma;
            Picture portable = input;
            Picture variant = input;
            ASSERT_TRUE(ReduceNoiseOfRows(portable.Rows(), inputs, {}, kPortableReduction));
            ASSERT_TRUE(ReduceNoiseOfRows(variant.Rows(), inputs, {}, *GetParam().variant));
            EXPECT_EQ(variant, portable) << width << " luma " << luma;
        }
    }
}

TEST_P(NoiseReductionAgainstReference, SlidingSumsAsTheWindowsAddUp)
{
    std::mt19937 random(406);
    for (const int width : {1, 7, 8, 9, 30, 100}) {
        for (const int radius : {1, 3, 10}) {
            std::vector<int32_t> padded(static_cast<size_t>(width + 2 * radius + 2), 0);
            for (int x = 0; x < width; ++x) padded[static_cast<size_t>(x + radius + 1)] = int32_t(random() % 2000000);
            std::vector<int32_t> sums(static_cast<size_t>(width));
            GetParam().variant->slide(padded.data() + radius + 1, width, radius, sums.data());
            for (int x = 0; x < width; ++x) {
                int32_t expected = 0;
                for (int j = std::max(0, x - radius); j <= std::min(width - 1, x + radius); ++j) {
                    expected += padded[static_cast<size_t>(j + radius + 1)];
                }
                ASSERT_EQ(sums[static_cast<size_t>(x)], expected) << width << " " << radius << " at " << x;
            }
        }
    }
}

// Negative levels amplify, up to values far outside the channels; NaN and infinite
// levels compare false or true. The lanes saturate and convert as the portable loop.
TEST_P(NoiseReductionAgainstReference, UnusualLevelsAsThePortableLoops)
{
    const double infinity = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const NoiseLevels levelSets[][2] = {{{-5, -1e9, -0.5}, {-1e300, 2, -infinity}},
                                        {{nan, 3, infinity}, {nan, nan, -2}},
                                        {{-infinity, -infinity, -infinity}, {infinity, 0, nan}}};
    const Picture input = noise_reference::GrainyPicture(45, 7, 3, 407);
    for (const auto& levels : levelSets) {
        for (const bool luma : {false, true}) {
            ReductionInputs inputs = Inputs(levels[0], levels[1], true, 2);
            inputs.lumaChannels = luma;
            Picture portable = input;
            Picture variant = input;
            ASSERT_TRUE(ReduceNoiseOfRows(portable.Rows(), inputs, {}, kPortableReduction));
            ASSERT_TRUE(ReduceNoiseOfRows(variant.Rows(), inputs, {}, *GetParam().variant));
            EXPECT_EQ(variant, portable) << levels[0].first << " luma " << luma;
        }
    }
}

// Every inner window is {95, 95, 100} in red, as in the worked case above, with the
// level at its double variance: each lane meets the close call.
TEST_P(NoiseReductionAgainstReference, LevelsAtTheDoubleVarianceTakeTheDoubleDecision)
{
    Picture input(40, 1);
    const uint32_t pattern[3] = {Colour(95, 10, 0), Colour(95, 50, 0), Colour(100, 30, 0)};
    for (int x = 0; x < 40; ++x) input.At(x, 0) = pattern[x % 3];
    const double mean = 290.0 / 3;
    const double level = (28050.0 - (3 * mean) * mean) / 3;
    ASSERT_LT(level * 9, 50.0);
    const ReductionInputs inputs = Inputs({level, 0, 0}, {0, 0, 1});
    Picture picture = input;
    ASSERT_TRUE(ReduceNoiseOfRows(picture.Rows(), inputs, {}, *GetParam().variant));
    EXPECT_EQ(picture, noise_reference::Reduce(input, {1, false, true, {level, 0, 0}, {0, 0, 1}}));
    for (int x = 1; x < 39; ++x) EXPECT_EQ(noise_reference::Green(picture.At(x, 0)), 30) << x;
}

INSTANTIATE_TEST_SUITE_P(Loops, NoiseReductionAgainstReference,
                         testing::Values(ReductionLoops{{"Portable", ""}, &kPortableReduction},
                                         ReductionLoops{{"Avx2", "AVX2"}, &kAvx2Reduction}),
                         NameOfVariant());

TEST(NoiseReduction, ReportsTwoUnitsPerRowAndStops)
{
    Picture picture = noise_reference::GrainyPicture(6, 5, 20, 3);
    for (uint32_t& word : picture.words) word |= 0xFF000000u;
    const Picture before = picture;
    std::vector<std::pair<int, int>> reports;
    const auto stopAtSix = [&](int done, int total) {
        reports.emplace_back(done, total);
        return done < 6;
    };
    EXPECT_FALSE(ReduceNoiseOfRows(picture.Rows(), Inputs({5, 5, 5}, {5, 5, 5}, true, 2), stopAtSix));
    EXPECT_EQ(reports, (std::vector<std::pair<int, int>>{{2, 10}, {4, 10}, {6, 10}}));
    // Three rows were written before the stop, the others are as they were.
    for (int x = 0; x < 6; ++x) {
        EXPECT_EQ(picture.At(x, 2) >> 24, 0u);
        EXPECT_EQ(picture.At(x, 3), before.At(x, 3));
    }
}

// Bands of rows on several threads: each band's windows reach the rows of the bands
// beside it as they were before any band wrote, so the bytes are one thread's. Bands
// shorter than the radius read rows two bands away.
TEST(NoiseReduction, BandsOfRowsOnSeveralThreadsGiveOneThreadsBytes)
{
    std::mt19937 random(77);
    for (const auto& [width, height] : {std::pair{7, 5}, {19, 23}, {40, 61}}) {
        const Picture input = noise_reference::GrainyPicture(width, height, 20, random());
        for (const int radius : {1, 3, 10}) {
            const ReductionInputs inputs = Inputs({30, 9, 12}, {6, 40, 3}, radius % 2 == 0, radius);
            Picture oneThread = input;
            ASSERT_TRUE(ReduceNoiseOfRows(oneThread.Rows(), inputs, {}, ChosenReduction(), 1));
            for (const int threads : {2, 3, 8}) {
                Picture banded = input;
                std::vector<int> reports;
                ASSERT_TRUE(ReduceNoiseOfRows(
                    banded.Rows(), inputs,
                    [&](int done, int total) {
                        reports.push_back(done);
                        return total == 2 * height;
                    },
                    ChosenReduction(), threads));
                ASSERT_EQ(banded, oneThread) << width << "x" << height << " radius " << radius << ", " << threads;
                EXPECT_TRUE(std::is_sorted(reports.begin(), reports.end()));
                EXPECT_EQ(reports.back(), 2 * height);
                Picture stopped = input;
                EXPECT_FALSE(ReduceNoiseOfRows(stopped.Rows(), inputs, [](int, int) { return false; },
                                               ChosenReduction(), threads));
            }
        }
    }
}
