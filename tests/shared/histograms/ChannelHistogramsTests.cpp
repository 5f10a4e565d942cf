// The shared level counts: every block against counts made here from the pixels,
// the luminance weights at worked colours, and the progress calls of every way out.

#include "tests/TestSupport.h"

#include "filters/shared/histograms/ChannelHistograms.h"
#include "refhost/RecordingProgress.h"

#include <gtest/gtest.h>

#include <array>
#include <random>

namespace {

using Call = CRecordingProgress::Call;
using Counts = std::array<uint32_t, kHistogramCountsSize>;

// Counted the plain way: one pass per block, the luminance from its weighted sum.
Counts ReferenceCounts(CHostImage* image)
{
    Counts counts{};
    for (int y = 0; y < image->Height(); ++y) {
        for (int x = 0; x < image->Width(); ++x) {
            const uint32_t pixel = image->Row(y)[x];
            const uint32_t red = (pixel >> 16) & 0xFF;
            const uint32_t green = (pixel >> 8) & 0xFF;
            const uint32_t blue = pixel & 0xFF;
            ++counts[red];
            ++counts[256 + green];
            ++counts[512 + blue];
            ++counts[768 + (red * 306 + green * 601 + blue * 117) / 1024];
        }
    }
    return counts;
}

} // namespace

TEST(ChannelHistograms, LuminanceOfWorkedColours)
{
    EXPECT_EQ(LuminanceOf(255, 255, 255), 255);
    EXPECT_EQ(LuminanceOf(255, 0, 0), 76);   // 78030 / 1024
    EXPECT_EQ(LuminanceOf(0, 255, 0), 149);  // 153255 / 1024
    EXPECT_EQ(LuminanceOf(0, 0, 255), 29);   // 29835 / 1024
    EXPECT_EQ(LuminanceOf(0, 0, 0), 0);
}

TEST(ChannelHistograms, CountsEveryBlockLikeThePlainCount)
{
    std::mt19937 random(1207);
    for (const auto& [width, height] : {std::pair{1, 1}, std::pair{7, 5}, std::pair{64, 33}}) {
        auto image = MakeImage(width, height, [&](int, int) { return static_cast<uint32_t>(random()); });
        Counts counts;
        counts.fill(12345);  // left over from an earlier count
        ASSERT_TRUE(ComputeChannelHistograms(image->GetBitmap(), counts.data()));
        EXPECT_EQ(counts, ReferenceCounts(image.Get())) << width << "x" << height;
    }
}

TEST(ChannelHistograms, OneColourFillsOneLevelPerBlock)
{
    auto image = MakeImage(4, 3, [](int, int) { return 0x7FFF0000u; });  // red, fourth byte set
    Counts counts{};
    ASSERT_TRUE(ComputeChannelHistograms(image->GetBitmap(), counts.data(), nullptr));
    EXPECT_EQ(counts[kRedCounts * 256 + 255], 12u);
    EXPECT_EQ(counts[kGreenCounts * 256 + 0], 12u);
    EXPECT_EQ(counts[kBlueCounts * 256 + 0], 12u);
    EXPECT_EQ(counts[kLuminanceCounts * 256 + 76], 12u);
    uint32_t total = 0;
    for (uint32_t count : counts) total += count;
    EXPECT_EQ(total, 48u);
}

TEST(ChannelHistograms, ReportsEachRowBeforeCountingItAndTheEnd)
{
    auto image = MakeImage(3, 4, DistinctPixel);
    auto progress = CComPtr<CRecordingProgress>::Adopt(CRecordingProgress::Create());
    Counts counts{};
    ASSERT_TRUE(ComputeChannelHistograms(image->GetBitmap(), counts.data(), progress.Get()));
    const auto& events = progress->Events();
    ASSERT_EQ(events.size(), 5u);
    for (int r = 0; r < 4; ++r) {
        EXPECT_EQ(events[static_cast<size_t>(r)].call, Call::Step);
        EXPECT_EQ(events[static_cast<size_t>(r)].done, r);
        EXPECT_EQ(events[static_cast<size_t>(r)].total, 4);
    }
    EXPECT_EQ(events[4].call, Call::Finish);
    EXPECT_TRUE(events[4].success);
}

TEST(ChannelHistograms, AStopEndsUnsuccessfullyAndMissingArgumentsFail)
{
    auto image = MakeImage(3, 4, DistinctPixel);
    auto progress = CComPtr<CRecordingProgress>::Adopt(CRecordingProgress::Create(2));
    Counts counts{};
    EXPECT_FALSE(ComputeChannelHistograms(image->GetBitmap(), counts.data(), progress.Get()));
    const auto& events = progress->Events();
    ASSERT_EQ(events.size(), 4u);
    EXPECT_EQ(events[2].done, 2);
    EXPECT_EQ(events[3].call, Call::Finish);
    EXPECT_FALSE(events[3].success);
    // Rows 0 and 1 were counted before the stop.
    uint32_t counted = 0;
    for (int level = 0; level < 256; ++level) counted += counts[kRedCounts * 256 + static_cast<size_t>(level)];
    EXPECT_EQ(counted, 6u);

    auto untouched = CComPtr<CRecordingProgress>::Adopt(CRecordingProgress::Create());
    EXPECT_FALSE(ComputeChannelHistograms(nullptr, counts.data(), untouched.Get()));
    EXPECT_FALSE(ComputeChannelHistograms(image->GetBitmap(), nullptr, untouched.Get()));
    EXPECT_TRUE(untouched->Events().empty());
}

TEST(ChannelHistograms, ThirdLargestCountTakesEqualCountsOneByOne)
{
    std::array<uint32_t, 256> levels{};
    EXPECT_EQ(ThirdLargestCount(levels.data()), 0u);
    levels[3] = 900;
    levels[200] = 900;
    levels[17] = 600;
    levels[90] = 600;
    levels[255] = 100;
    EXPECT_EQ(ThirdLargestCount(levels.data()), 600u);
    levels[90] = 0;
    levels[17] = 5000;
    EXPECT_EQ(ThirdLargestCount(levels.data()), 900u);
}
