// The engine's entry points: the whole picture and a region against the plain
// reference, pictures too small to estimate, regions without a usable block, the
// shared progress count and its stop, and the host's 32-bit sections.

#include "tests/shared/noise/NoiseReference.h"

#include "filters/shared/noise/NoiseEngine.h"
#include "platform/ComPtr.h"
#include "refhost/RecordingProgress.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>

namespace {

using noise_reference::Colour;
using noise_reference::Picture;
using noise_reference::Triple;
using Call = CRecordingProgress::Call;

// The part of the picture a region covers, as a picture of its own: region rows
// count from the top, picture rows from the bottom.
Picture Part(const Picture& picture, int left, int top, int right, int bottom)
{
    Picture part(right - left, bottom - top);
    for (int y = 0; y < part.height; ++y) {
        for (int x = 0; x < part.width; ++x) part.At(x, y) = picture.At(left + x, picture.height - bottom + y);
    }
    return part;
}

noise_reference::Reduction ReductionWith(const NoiseReductionOptions& options, NoiseLevels given, NoiseLevels estimates)
{
    return {std::clamp(options.smoothness, 1, 10), options.channelSwitch == 1, options.divisorSwitch != 0, given,
            estimates};
}

// A grey picture of level 128 with a 20 x 20 board of 125 and 131 in its top left
// corner as seen: variance 9 there, 0 everywhere else.
Picture BoardAtTopLeft(int width, int height)
{
    Picture picture(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const bool board = x < 20 && y >= height - 20;
            picture.At(x, y) = Colour(128, 128, 128, 0x3C);
            if (board) picture.At(x, y) = (x + y) % 2 == 0 ? Colour(125, 125, 125) : Colour(131, 131, 131);
        }
    }
    return picture;
}

struct Section {
    HBITMAP handle = nullptr;
    PixelRows rows;
    explicit Section(const Picture& picture) : handle(CreateBitmapSection32(picture.width, picture.height))
    {
        BITMAP description{};
        GetObjectW(handle, sizeof description, &description);
        rows = {static_cast<uint8_t*>(description.bmBits), description.bmWidthBytes, description.bmWidth,
                description.bmHeight};
        for (int y = 0; y < picture.height; ++y) {
            std::memcpy(rows.Row(y), &picture.words[static_cast<size_t>(y) * picture.rowWords], 4 * size_t(picture.width));
        }
    }
    Section(const Section&) = delete;
    Section& operator=(const Section&) = delete;
    ~Section() { DeleteBitmapSection(handle); }
    Picture Pixels() const
    {
        Picture picture(rows.width, rows.height);
        for (int y = 0; y < rows.height; ++y) {
            std::memcpy(&picture.words[static_cast<size_t>(y) * picture.rowWords], rows.Row(y), 4 * size_t(rows.width));
        }
        return picture;
    }
};

} // namespace

TEST(NoiseEngine, WholePictureEstimatesThenReducesAsThePlainReference)
{
    const Picture input = noise_reference::GrainyPicture(331, 327, 6, 2024);
    const NoiseReductionOptions reductions[] = {{3, 0, 1}, {2, 1, 0}, {12, 0, 0}, {0, 1, 1}};
    for (const NoiseReductionOptions& reduction : reductions) {
        const NoiseEstimationOptions estimation{20, 1};
        const NoiseLevels estimates = noise_reference::Estimate(
            input, {20, 1, reduction.channelSwitch == 1, reduction.divisorSwitch != 0, 320});
        // Estimated levels replace the given ones.
        Picture picture = input;
        NoiseLevels levels{50, 50, 50};
        ASSERT_TRUE(ReduceNoiseOfWhole(picture.Rows(), {}, true, levels, reduction, estimation));
        EXPECT_EQ(Triple(levels), Triple(estimates));
        EXPECT_EQ(picture, noise_reference::Reduce(input, ReductionWith(reduction, estimates, estimates)));
        // Given levels decide; the estimates still hold the other channels.
        picture = input;
        levels = {9, 30, 0.5};
        ASSERT_TRUE(ReduceNoiseOfWhole(picture.Rows(), {}, false, levels, reduction, estimation));
        EXPECT_EQ(Triple(levels), Triple({9, 30, 0.5}));
        EXPECT_EQ(picture, noise_reference::Reduce(input, ReductionWith(reduction, {9, 30, 0.5}, estimates)));
    }
}

TEST(NoiseEngine, PicturesBelow320PixelsComeBackExactlyWhenEstimated)
{
    for (const auto& [width, height] : {std::pair{319, 500}, std::pair{500, 319}, std::pair{1, 1}}) {
        Picture picture = noise_reference::GrainyPicture(width, height, 15, 8);
        const Picture before = picture;
        NoiseLevels levels{5, 6, 7};
        ASSERT_TRUE(ReduceNoiseOfWhole(picture.Rows(), {}, true, levels, {}, {}));
        EXPECT_EQ(Triple(levels), Triple({0, 0, 0}));
        EXPECT_EQ(picture, before);
    }
    // Given levels still reduce, against estimates of 0.
    Picture picture = noise_reference::GrainyPicture(40, 30, 15, 9);
    const Picture before = picture;
    NoiseLevels levels{40, 40, 40};
    ASSERT_TRUE(ReduceNoiseOfWhole(picture.Rows(), {}, false, levels, {}, {}));
    EXPECT_EQ(picture, noise_reference::Reduce(before, ReductionWith({}, levels, {})));
    EXPECT_NE(picture, before);
}

TEST(NoiseEngine, ARegionIsMeasuredWithYFromTheTop)
{
    const Picture input = BoardAtTopLeft(60, 50);
    // The board: variance 9 in every channel; the same size at the bottom left is
    // flat grey, variance 0, clamped to 1.
    Picture picture = input;
    NoiseLevels levels{100, 100, 100};
    ASSERT_TRUE(ReduceNoiseFromRegion(picture.Rows(), {}, {0, 0, 20, 20}, levels, {}));
    EXPECT_EQ(Triple(levels), Triple({9, 9, 9}));
    EXPECT_EQ(picture, noise_reference::Reduce(input, ReductionWith({}, levels, levels)));
    picture = input;
    ASSERT_TRUE(ReduceNoiseFromRegion(picture.Rows(), {}, {0, 30, 20, 50}, levels, {}));
    EXPECT_EQ(Triple(levels), Triple({1, 1, 1}));
    // Clipped to the picture, a region reaching past its corner measures the board.
    picture = input;
    ASSERT_TRUE(ReduceNoiseFromRegion(picture.Rows(), {}, {-40, -7, 20, 20}, levels, {}));
    EXPECT_EQ(Triple(levels), Triple({9, 9, 9}));
}

TEST(NoiseEngine, RegionsAsThePlainReference)
{
    const Picture input = noise_reference::GrainyPicture(97, 83, 7, 31);
    const RECT regions[] = {{5, 7, 60, 44}, {0, 0, 97, 83}, {33, 50, 97, 83}, {80, -10, 140, 30}};
    for (const RECT& region : regions) {
        for (const NoiseReductionOptions& reduction : {NoiseReductionOptions{2, 0, 1}, NoiseReductionOptions{3, 1, 0}}) {
            const Picture part = Part(input, std::max(region.left, 0), std::max(region.top, 0),
                                      std::min(region.right, 97), std::min(region.bottom, 83));
            const NoiseLevels expected =
                noise_reference::Estimate(part, {10, 1, reduction.channelSwitch == 1, reduction.divisorSwitch != 0, 0});
            Picture picture = input;
            NoiseLevels levels;
            ASSERT_TRUE(ReduceNoiseFromRegion(picture.Rows(), {}, region, levels, reduction));
            EXPECT_EQ(Triple(levels), Triple(expected));
            EXPECT_GT(levels.first, 0.0);
            EXPECT_EQ(picture, noise_reference::Reduce(input, ReductionWith(reduction, expected, expected)));
        }
    }
}

TEST(NoiseEngine, ARegionWithoutAUsableBlockLeavesThePictureExactly)
{
    Picture dark(40, 40);
    for (uint32_t& word : dark.words) word = Colour(10, 12, 14, 0x99);
    const struct {
        Picture picture;
        RECT region;
    } cases[] = {{BoardAtTopLeft(60, 50), {0, 0, 9, 20}},    // narrower than a block
                 {BoardAtTopLeft(60, 50), {0, 0, 20, 9}},    // lower than a block
                 {BoardAtTopLeft(60, 50), {70, 0, 90, 20}},  // outside the picture
                 {BoardAtTopLeft(60, 50), {30, 20, 10, 40}}, // right before left
                 {dark, {0, 0, 40, 40}}};                     // no block takes part
    for (const auto& [input, region] : cases) {
        Picture picture = input;
        NoiseLevels levels{50, 50, 50};
        ASSERT_TRUE(ReduceNoiseFromRegion(picture.Rows(), {}, region, levels, {}));
        EXPECT_EQ(Triple(levels), Triple({0, 0, 0}));
        EXPECT_EQ(picture, input);
    }
}

TEST(NoiseEngine, OneCountOverThreeHeightsWhereverTheEstimateLooks)
{
    const Picture input = noise_reference::GrainyPicture(330, 321, 6, 12);
    const auto recorded = [](std::vector<int>& reports) {
        return [&reports](int done, int total) {
            EXPECT_EQ(total, 3 * 321);
            reports.push_back(done);
            return true;
        };
    };
    std::vector<int> whole;
    Picture picture = input;
    NoiseLevels levels;
    ASSERT_TRUE(ReduceNoiseOfWhole(picture.Rows(), recorded(whole), true, levels, {}, {}));
    // 16 block rows from row 0: 15 reports, then the height, then two per row.
    ASSERT_EQ(whole.size(), 16u + 321u);
    EXPECT_EQ(whole[0], 20);
    EXPECT_EQ(whole[15], 321);
    EXPECT_EQ(whole[16], 323);
    EXPECT_EQ(whole.back(), 963);
    EXPECT_TRUE(std::is_sorted(whole.begin(), whole.end()));

    // A region 30 rows high: its 3 block rows map onto the first height.
    std::vector<int> region;
    picture = input;
    ASSERT_TRUE(ReduceNoiseFromRegion(picture.Rows(), recorded(region), {0, 0, 30, 30}, levels, {}));
    EXPECT_EQ(std::vector<int>(region.begin(), region.begin() + 3), (std::vector<int>{107, 214, 321}));
    EXPECT_EQ(region.back(), 963);
    // No region: the estimate's height at once.
    std::vector<int> none;
    picture = input;
    ASSERT_TRUE(ReduceNoiseFromRegion(picture.Rows(), recorded(none), {0, 0, 0, 0}, levels, {}));
    EXPECT_EQ(none.front(), 321);
    EXPECT_EQ(none.back(), 963);
}

TEST(NoiseEngine, AStopEndsTheWorkWithFalse)
{
    const Picture input = noise_reference::GrainyPicture(330, 321, 6, 12);
    for (const int stopAt : {20, 321, 325}) {
        Picture picture = input;
        NoiseLevels levels{1, 2, 3};
        int last = 0;
        EXPECT_FALSE(ReduceNoiseOfWhole(picture.Rows(), [&](int done, int) {
            last = done;
            return done < stopAt;
        }, true, levels, {}, {}));
        EXPECT_EQ(last, stopAt);
        // Stopped before the estimates arrived: the levels stay.
        if (stopAt < 321) {
            EXPECT_EQ(Triple(levels), Triple({1, 2, 3}));
        }
    }
    // Two rows reduced before the stop at 325: written pixels have a fourth byte of 0.
    Picture marked = input;
    for (uint32_t& word : marked.words) word |= 0xFF000000u;
    Picture picture = marked;
    NoiseLevels levels;
    EXPECT_FALSE(ReduceNoiseOfWhole(picture.Rows(), [](int done, int) { return done < 325; }, true, levels, {}, {}));
    for (int x = 0; x < 330; ++x) {
        EXPECT_EQ(picture.At(x, 1) >> 24, 0u);
        EXPECT_EQ(picture.At(x, 2), marked.At(x, 2));
    }
}

TEST(NoiseEngine, HostSectionsReduceLikeRowsAndOnlyStep)
{
    const Picture input = noise_reference::GrainyPicture(333, 322, 6, 40);
    Section section(input);
    auto progress = CComPtr<CRecordingProgress>::Adopt(CRecordingProgress::Create());
    double red = 0.0, green = 0.0, blue = 0.0;
    ASSERT_TRUE(ReduceNoise(section.handle, progress.Get(), true, &red, &green, &blue, 3, 20, 0, 1, 1));
    Picture expected = input;
    NoiseLevels levels;
    ASSERT_TRUE(ReduceNoiseOfWhole(expected.Rows(), {}, true, levels, {3, 0, 1}, {20, 1}));
    EXPECT_EQ(section.Pixels(), expected);
    EXPECT_EQ(Triple({red, green, blue}), Triple(levels));
    EXPECT_EQ(progress->CountOf(Call::Finish), 0);
    EXPECT_EQ(progress->CountOf(Call::Step), static_cast<int>(progress->Events().size()));
    EXPECT_EQ(progress->Events().back().done, 3 * 322);
    EXPECT_EQ(progress->Events().back().total, 3 * 322);

    Section regional(input);
    auto regionProgress = CComPtr<CRecordingProgress>::Adopt(CRecordingProgress::Create());
    ASSERT_TRUE(ReduceNoiseInRegion(regional.handle, regionProgress.Get(), {10, 20, 110, 90}, &red, &green, &blue, 2,
                                    1, 0));
    expected = input;
    ASSERT_TRUE(ReduceNoiseFromRegion(expected.Rows(), {}, {10, 20, 110, 90}, levels, {2, 1, 0}));
    EXPECT_EQ(regional.Pixels(), expected);
    EXPECT_EQ(Triple({red, green, blue}), Triple(levels));
    EXPECT_EQ(regionProgress->CountOf(Call::Finish), 0);
    EXPECT_EQ(regionProgress->Events().back().done, 3 * 322);
}

TEST(NoiseEngine, HostEntriesFailOnAStopAMissingSectionOrLevel)
{
    const Picture input = noise_reference::GrainyPicture(40, 30, 6, 41);
    Section section(input);
    double red = 4, green = 4, blue = 4;
    auto stopping = CComPtr<CRecordingProgress>::Adopt(CRecordingProgress::Create(5));
    EXPECT_FALSE(ReduceNoise(section.handle, stopping.Get(), false, &red, &green, &blue, 3, 20, 0, 1, 1));
    EXPECT_EQ(stopping->CountOf(Call::Step), 6);
    EXPECT_EQ(stopping->CountOf(Call::Finish), 0);
    auto regionStopping = CComPtr<CRecordingProgress>::Adopt(CRecordingProgress::Create(0));
    EXPECT_FALSE(ReduceNoiseInRegion(section.handle, regionStopping.Get(), {0, 0, 20, 20}, &red, &green, &blue, 3, 0, 1));
    EXPECT_EQ(regionStopping->CountOf(Call::Step), 1);

    EXPECT_FALSE(ReduceNoise(nullptr, nullptr, true, &red, &green, &blue, 3, 20, 0, 1, 1));
    EXPECT_FALSE(ReduceNoiseInRegion(nullptr, nullptr, {0, 0, 20, 20}, &red, &green, &blue, 3, 0, 1));
    Section untouched(input);
    EXPECT_FALSE(ReduceNoise(untouched.handle, nullptr, true, nullptr, &green, &blue, 3, 20, 0, 1, 1));
    EXPECT_FALSE(ReduceNoiseInRegion(untouched.handle, nullptr, {0, 0, 20, 20}, &red, &green, nullptr, 3, 0, 1));
    EXPECT_EQ(untouched.Pixels(), input);
    // Without a sink the work still runs.
    EXPECT_TRUE(ReduceNoise(untouched.handle, nullptr, false, &red, &green, &blue, 3, 20, 0, 1, 1));
    EXPECT_NE(untouched.Pixels(), input);
}
