// The hot pixel fixer's kernels: the means in the fourth byte, what makes a pixel a
// hot one, which candidates stand far enough apart, and the repair of a diamond held
// to a plain reference written from the rules.

#include "tests/KernelThreads.h"
#include "tests/hot-pixels/HotPixelPictures.h"
#include "tests/hot-pixels/HotPixelReference.h"

#include "filters/hot-pixels/HotPixelKernels.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <tuple>
#include <utility>

namespace {

using namespace hot_pixel_pictures;
namespace ref = hot_pixel_reference;

// The candidates of picture at intensity, the detection run on its keys.
std::vector<HotPixel> Found(const Picture& picture, int intensity)
{
    Picture keyed = picture.Keys();
    std::vector<HotPixel> found;
    PhaseCount count({}, 0);
    EXPECT_TRUE(FindHotPixels(keyed.Rows(), intensity, count, found));
    return found;
}

bool IsFound(const Picture& picture, int x, int y, int intensity = 60)
{
    const std::vector<HotPixel> found = Found(picture, intensity);
    return std::find(found.begin(), found.end(), HotPixel{x, y}) != found.end();
}

// Colours of no more than 64: nothing in it can be a hot pixel.
Picture DarkTexture(int width, int height, unsigned seed)
{
    std::mt19937 random(seed);
    Picture picture(width, height, 0);
    for (uint32_t& pixel : picture.pixels) pixel = Rgb(random() % 65, random() % 65, random() % 65);
    return picture;
}

bool Fix(Picture& picture, int intensity = 60)
{
    return FixHotPixels(picture.Rows(), intensity, {}, {});
}

} // namespace

// ---------------------------------------------------------------- means and keys

TEST(HotPixelKernels, MeansRoundAsTheRulesSayAndGoIntoTheFourthByteOnly)
{
    EXPECT_EQ(MeanOf(kWhite), 255u);
    EXPECT_EQ(MeanOf(Rgb(1, 0, 0)), 1u) << "(1 + 2) / 3";
    EXPECT_EQ(MeanOf(Rgb(0, 0, 0)), 0u);
    EXPECT_EQ(MeanOf(Rgb(255, 0, 0)), 85u) << "(255 + 2) / 3";
    EXPECT_EQ(MeanOf(Rgb(10, 20, 31)), 21u) << "63 / 3";
    EXPECT_EQ(MeanOf(0xAB000000u | Rgb(3, 3, 3)), 3u) << "the fourth byte is no colour";

    Picture picture(5, 3, 0x77000000u | Rgb(10, 20, 31));
    int reports = 0;
    const UnitReport report = [&](int done, int total) {
        EXPECT_EQ(done, ++reports);
        EXPECT_EQ(total, 6);
        return true;
    };
    PhaseCount count(report, 6);
    ASSERT_TRUE(KeyRowsByMean(picture.Rows(), count));
    EXPECT_EQ(picture.pixels, std::vector<uint32_t>(15, 0x15000000u | Rgb(10, 20, 31)));
    ASSERT_TRUE(ClearFourthBytes(picture.Rows(), count));
    EXPECT_EQ(picture.pixels, std::vector<uint32_t>(15, Rgb(10, 20, 31)));
    EXPECT_EQ(reports, 6) << "one unit a row, each pass";

    PhaseCount stopping([](int, int) { return false; }, 6);
    EXPECT_FALSE(KeyRowsByMean(picture.Rows(), stopping));
}

// ---------------------------------------------------------------- detection

TEST(HotPixelKernels, AWhitePixelOnGreyIsHotAndOnWhiteIsNot)
{
    Picture grey(30, 30, Grey(128));
    grey.At(14, 15) = kWhite;
    EXPECT_EQ(Found(grey, 60), (std::vector<HotPixel>{{14, 15}}));

    Picture white(30, 30, kWhite);
    EXPECT_TRUE(Found(white, 60).empty()) << "its neighbours are as bright";
}

TEST(HotPixelKernels, TheMeanMustExceedTheRingsSecondBrightestByMoreThanTheIntensity)
{
    struct Case {
        const char* label;
        uint32_t background;
        uint32_t pixel;
        int intensity;
        bool hot;
    };
    for (const Case& c : {
             Case{"189 over 128 + 60", Grey(128), Grey(189), 60, true},
             Case{"188 is not more than 128 + 60", Grey(128), Grey(188), 60, false},
             Case{"a lone red dot: mean 85 over 10 + 60", Grey(10), Rgb(255, 0, 0), 60, true},
             Case{"255 over 50 + 200", Grey(50), kWhite, 200, true},
             Case{"255 is not more than 55 + 200", Grey(55), kWhite, 200, false},
             Case{"mean 64 over black, but no colour above 64", Grey(0), Grey(64), 60, false},
             Case{"one colour of 65 is enough", Grey(0), Rgb(65, 64, 64), 60, true},
             Case{"an intensity far beyond the dialog's does not overflow", Grey(0), kWhite, 2147483647, false},
         }) {
        Picture picture(21, 21, c.background);
        picture.At(10, 10) = c.pixel;
        EXPECT_EQ(IsFound(picture, 10, 10, c.intensity), c.hot) << c.label;
    }
}

TEST(HotPixelKernels, OnlyTheRingsSecondBrightestCountsAndNoNeighbourMayOutshine)
{
    Picture picture(21, 21, Grey(100));
    picture.At(10, 10) = kWhite;
    picture.At(12, 11) = Grey(250);  // on the ring
    EXPECT_TRUE(IsFound(picture, 10, 10)) << "the brightest of the ring does not count";
    picture.At(8, 8) = Grey(250);
    EXPECT_FALSE(IsFound(picture, 10, 10)) << "two of 250: the second-brightest is 250, equal keys apart";

    Picture neighbour(21, 21, Grey(100));
    neighbour.At(10, 10) = Rgb(250, 250, 250);
    neighbour.At(11, 11) = Rgb(251, 250, 249);  // the same mean 250, more red: a greater key
    EXPECT_FALSE(IsFound(neighbour, 10, 10));
    EXPECT_TRUE(IsFound(neighbour, 11, 11)) << "the neighbour outshines it instead";
}

TEST(HotPixelKernels, NothingBrighterWithinTheDiamondOfEight)
{
    struct Case {
        int dx;
        int dy;
        bool hot;
    };
    for (const Case& c : {Case{8, 0, false}, Case{9, 0, true}, Case{0, -8, false}, Case{4, 4, false},
                          Case{5, 4, true}, Case{-3, 5, false}, Case{-3, -6, true}}) {
        Picture picture(31, 31, Grey(100));
        picture.At(15, 15) = Grey(250);
        picture.At(15 + c.dx, 15 + c.dy) = kWhite;
        EXPECT_EQ(IsFound(picture, 15, 15), c.hot) << c.dx << ", " << c.dy;
    }
}

TEST(HotPixelKernels, MoreThanEightBrightPixelsBeyondTheCentreMakeDetail)
{
    // Above 8/10 of white's key: 220 counts, 150 does not. The 3 x 3 around the pixel
    // and the ring are the centre and never count.
    const std::pair<int, int> beyond[] = {{3, 0}, {-3, 0}, {0, 3}, {0, -4}, {2, 3}, {-5, 2}, {4, -4}, {0, 8}, {-8, 0}};
    Picture picture(31, 31, Grey(100));
    picture.At(15, 15) = kWhite;
    for (int dy = -1; dy <= 1; ++dy) {
        for (int dx = -1; dx <= 1; ++dx) {
            if (dx != 0 || dy != 0) picture.At(15 + dx, 15 + dy) = Grey(220);
        }
    }
    for (int i = 0; i < 8; ++i) picture.At(15 + beyond[i].first, 15 + beyond[i].second) = Grey(220);
    EXPECT_TRUE(IsFound(picture, 15, 15)) << "eight beyond the centre";
    picture.At(15 + beyond[8].first, 15 + beyond[8].second) = Grey(150);
    EXPECT_TRUE(IsFound(picture, 15, 15)) << "a ninth that is not bright enough";
    picture.At(15 + beyond[8].first, 15 + beyond[8].second) = Grey(220);
    EXPECT_FALSE(IsFound(picture, 15, 15)) << "nine";
}

TEST(HotPixelKernels, PixelsWithinTwoOfTheEdgeAreNeverCandidates)
{
    constexpr int kSide = 12;
    for (int y = 0; y < kSide; ++y) {
        for (int x = 0; x < kSide; ++x) {
            Picture picture(kSide, kSide, Grey(90));
            picture.At(x, y) = kWhite;
            const bool inside = x >= 2 && y >= 2 && x <= kSide - 3 && y <= kSide - 3;
            const std::vector<HotPixel> expected = inside ? std::vector<HotPixel>{{x, y}} : std::vector<HotPixel>{};
            EXPECT_EQ(Found(picture, 60), expected) << x << ", " << y;
        }
    }
}

TEST(HotPixelKernels, CandidatesComeRowsRisingEachLeftToRight)
{
    Picture picture(40, 40, Grey(60));
    const std::vector<HotPixel> planted{{30, 3}, {5, 3}, {20, 20}, {3, 36}, {36, 36}};
    for (const HotPixel& p : planted) picture.At(p.x, p.y) = kWhite;
    for (const int threads : {1, 3}) {  // bands on other threads keep the order
        const ScopedKernelThreads scoped(threads);
        EXPECT_EQ(Found(picture, 60), (std::vector<HotPixel>{{5, 3}, {30, 3}, {20, 20}, {3, 36}, {36, 36}}))
            << threads << " threads";
    }
}

// ---------------------------------------------------------------- isolation

TEST(HotPixelKernels, CandidatesCloserThanTheLimitAreAllDropped)
{
    EXPECT_EQ(IsolationLimit(100, 100), 10);
    EXPECT_EQ(IsolationLimit(4000, 549), 10);
    EXPECT_EQ(IsolationLimit(4000, 550), 11);
    EXPECT_EQ(IsolationLimit(3000, 4000), 60);

    const std::vector<HotPixel> none;
    EXPECT_TRUE(KeepIsolated(none, 10).empty());
    const std::vector<HotPixel> lone{{50, 50}};
    EXPECT_EQ(KeepIsolated(lone, 10), lone);
    // Pairs at 10 (dropped), 11 (kept), 3 + 7 (dropped) and 6 + 5 (kept), far from each other.
    const std::vector<HotPixel> pairs{{0, 0}, {10, 0}, {40, 0}, {51, 0}, {5, 30}, {60, 30}, {66, 35}, {8, 37}};
    EXPECT_EQ(KeepIsolated(pairs, 10), (std::vector<HotPixel>{{40, 0}, {51, 0}, {60, 30}, {66, 35}}));
    // A chain: each close to the next, the ends far apart; all go.
    const std::vector<HotPixel> chain{{0, 0}, {8, 0}, {16, 0}, {100, 100}};
    EXPECT_EQ(KeepIsolated(chain, 10), (std::vector<HotPixel>{{100, 100}}));
    // Others between them in the list do not hide a close pair.
    const std::vector<HotPixel> rows{{0, 0}, {200, 0}, {201, 9}, {0, 11}};
    EXPECT_EQ(KeepIsolated(rows, 10), (std::vector<HotPixel>{{0, 0}, {0, 11}}));
}

TEST(HotPixelKernels, TwoHotPixelsCloserThanTheLimitAreBothLeftAlone)
{
    for (const auto& [dx, dy, kept] : {std::tuple{6, 4, true}, std::tuple{7, 4, false}, std::tuple{0, 10, true},
                                       std::tuple{-11, 0, false}}) {
        Picture picture(40, 40, Grey(128));
        picture.At(20, 15) = kWhite;
        picture.At(20 + dx, 15 + dy) = kWhite;
        const Picture before = picture;
        ASSERT_TRUE(Fix(picture));
        if (kept) {
            EXPECT_EQ(picture.pixels, before.pixels) << dx << ", " << dy;
        } else {
            EXPECT_EQ(picture.pixels, std::vector<uint32_t>(1600, Grey(128))) << dx << ", " << dy;
        }
    }
}

// ---------------------------------------------------------------- repair

TEST(HotPixelKernels, TheRepairOrderRunsFromTheOutsideIn)
{
    const auto order = RepairOrder();
    const std::vector<ref::Offset> expected = ref::RepairOrder();
    ASSERT_EQ(order.size(), 145u);
    ASSERT_EQ(expected.size(), 145u);
    for (size_t i = 0; i < order.size(); ++i) {
        EXPECT_EQ(order[i].dx, expected[i].dx) << i;
        EXPECT_EQ(order[i].dy, expected[i].dy) << i;
    }
    // The four corners tie on both distances; rows from the bottom, each left to right.
    const std::pair<int, int> corners[] = {{0, -8}, {-8, 0}, {8, 0}, {0, 8}};
    for (size_t i = 0; i < 4; ++i) EXPECT_EQ(std::pair(order[i].dx, order[i].dy), corners[i]) << i;
    EXPECT_EQ(std::abs(order[4].dx) + std::abs(order[4].dy), 8) << "then the rest of the outer rim";
    EXPECT_EQ(std::max(std::abs(order[4].dx), std::abs(order[4].dy)), 7);
    EXPECT_EQ(order.back().dx, 0);
    EXPECT_EQ(order.back().dy, 0);
}

TEST(HotPixelKernels, RepairsFollowThePlainReferenceAnywhereInThePicture)
{
    const std::pair<int, int> centres[] = {{2, 2}, {13, 10}, {26, 2}, {2, 20}, {27, 21}, {6, 5}};
    for (const auto& [cx, cy] : centres) {
        Picture picture = DarkTexture(30, 24, static_cast<unsigned>(cx * 100 + cy));
        picture.At(cx, cy) = kWhite;
        Picture repaired = picture.Keys();
        Picture expected = picture.Keys();
        RepairHotPixel(repaired.Rows(), {cx, cy});
        ref::Repair(expected.Rows(), cx, cy);
        EXPECT_EQ(repaired.pixels, expected.pixels) << cx << ", " << cy;
        EXPECT_NE(repaired.At(cx, cy), Keyed(kWhite));
    }
}

TEST(HotPixelKernels, RepairsNearTheEdgeLeavePixelsWhoseOutwardNeighbourIsOnTheEdge)
{
    Picture picture = DarkTexture(20, 20, 7);
    picture.At(2, 2) = kWhite;
    Picture before = picture.Keys();
    Picture repaired = picture.Keys();
    RepairHotPixel(repaired.Rows(), {2, 2});
    int changed = 0;
    for (int y = 0; y < 20; ++y) {
        for (int x = 0; x < 20; ++x) {
            const bool edgeward = x <= 1 || y <= 1;
            const bool inDiamond = std::abs(x - 2) + std::abs(y - 2) <= 8;
            if (edgeward || !inDiamond) {
                EXPECT_EQ(repaired.At(x, y), before.At(x, y)) << x << ", " << y;
            } else {
                changed += repaired.At(x, y) != before.At(x, y);
            }
        }
    }
    EXPECT_GT(changed, 10) << "the rest of the diamond is rebuilt";
}

// ---------------------------------------------------------------- the whole fix

TEST(HotPixelKernels, AWhitePixelOnGreyComesOutGreyAndNothingElseChanges)
{
    Picture grey(40, 30, 0x5A000000u | Grey(128));
    grey.At(20, 15) = kWhite;
    ASSERT_TRUE(Fix(grey));
    EXPECT_EQ(grey.pixels, std::vector<uint32_t>(1200, Grey(128))) << "fourth bytes cleared too";

    Picture white(40, 30, 0x5A000000u | kWhite);
    ASSERT_TRUE(Fix(white));
    EXPECT_EQ(white.pixels, std::vector<uint32_t>(1200, kWhite)) << "only the fourth bytes change";

    Picture textured = DarkTexture(40, 30, 3);
    const Picture before = textured;
    ASSERT_TRUE(Fix(textured));
    EXPECT_EQ(textured.pixels, before.pixels) << "no hot pixel, no change";
}

TEST(HotPixelKernels, TheCompassFollowsThePictureAsSeen)
{
    // Smooth shades above, noise below and a hot pixel between: read upside down, the
    // windows choose other pixels.
    Picture picture = DarkTexture(24, 24, 11);
    for (int y = 13; y < 24; ++y) {
        for (int x = 0; x < 24; ++x) picture.At(x, y) = Rgb(40 + y, 10 + x, 60 - y);
    }
    picture.At(11, 12) = kWhite;
    EXPECT_EQ(Found(picture, 60), (std::vector<HotPixel>{{11, 12}}));

    Picture expected = picture.Keys();
    ref::Repair(expected.Rows(), 11, 12);
    Picture upsideDown = picture.Keys();
    ref::Repair(upsideDown.Rows(), 11, 12, -1);
    ASSERT_NE(expected.pixels, upsideDown.pixels) << "the picture must tell the two apart";
    for (uint32_t& pixel : expected.pixels) pixel &= 0x00FFFFFFu;

    ASSERT_TRUE(Fix(picture));
    EXPECT_EQ(picture.pixels, expected.pixels);
}

TEST(HotPixelKernels, ProgressRunsInTwoPhasesAndAStopEndsTheFix)
{
    constexpr int kHeight = 9;
    Picture picture(12, kHeight, Grey(100));
    picture.At(6, 4) = kWhite;
    std::vector<std::pair<int, int>> steps;
    std::vector<std::pair<size_t, bool>> ends;  // after how many steps, how
    const UnitReport report = [&](int done, int total) {
        steps.emplace_back(done, total);
        return true;
    };
    ASSERT_TRUE(FixHotPixels(picture.Rows(), 60, report, [&](bool ok) { ends.emplace_back(steps.size(), ok); }));
    ASSERT_EQ(ends.size(), 1u);
    EXPECT_TRUE(ends[0].second);
    const size_t noiseSteps = ends[0].first;
    ASSERT_GT(noiseSteps, 0u);
    for (size_t i = 0; i < noiseSteps; ++i) EXPECT_EQ(steps[i].second, 3 * kHeight) << "the noise engine's count";
    EXPECT_EQ(steps[noiseSteps - 1].first, 3 * kHeight);

    // Phase two: a unit for each row keyed, three for each of the 5 rows examined, a
    // unit for each row keyed again and each row cleared.
    std::vector<std::pair<int, int>> expected;
    const int total = 2 * (3 * kHeight - 6);
    int done = 0;
    for (int row = 0; row < kHeight; ++row) expected.emplace_back(++done, total);
    for (int row = 2; row < kHeight - 2; ++row) expected.emplace_back(done += 3, total);
    for (int row = 0; row < 2 * kHeight; ++row) expected.emplace_back(++done, total);
    EXPECT_EQ(done, total);
    const std::vector<std::pair<int, int>> repairSteps(steps.begin() + static_cast<ptrdiff_t>(noiseSteps), steps.end());
    EXPECT_EQ(repairSteps, expected);

    for (const int stopAt : {0, static_cast<int>(noiseSteps) + 3, static_cast<int>(steps.size()) - 1}) {
        Picture stopped(12, kHeight, Grey(100));
        int calls = 0;
        std::vector<bool> told;
        const UnitReport stopping = [&](int, int) { return calls++ != stopAt; };
        EXPECT_FALSE(FixHotPixels(stopped.Rows(), 60, stopping, [&](bool ok) { told.push_back(ok); })) << stopAt;
        EXPECT_EQ(calls, stopAt + 1) << "nothing is reported after the stop";
        EXPECT_EQ(told, std::vector<bool>{stopAt >= static_cast<int>(noiseSteps)}) << stopAt;
    }
    EXPECT_FALSE(FixHotPixels(PixelRows{}, 60, {}, {}));
}
