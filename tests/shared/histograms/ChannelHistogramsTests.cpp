// The shared level counts: every block against counts made here from the pixels,
// the luminance weights at worked colours, and the progress calls of every way out.

#include "tests/TestSupport.h"

#include "filters/shared/histograms/ChannelHistograms.h"
#include "refhost/RecordingProgress.h"
#include "tests/shared/KernelVariants.h"

#include <gtest/gtest.h>

#include <array>
#include <random>
#include <string>
#include <vector>

namespace {

using Counts = std::array<uint32_t, kHistogramCountsSize>;

// Counted the plain way, the luminance from its weighted sum, from rows of pixels a
// stride apart.
Counts ReferenceCounts(const std::vector<uint32_t>& pixels, int width, int height, int stride)
{
    Counts counts{};
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const uint32_t pixel = pixels[static_cast<size_t>(y) * stride + x];
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

Counts ReferenceCounts(CHostImage* image)
{
    std::vector<uint32_t> pixels;
    for (int y = 0; y < image->Height(); ++y) pixels.insert(pixels.end(), image->Row(y), image->Row(y) + image->Width());
    return ReferenceCounts(pixels, image->Width(), image->Height(), image->Width());
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
    auto progress = Recorder();
    Counts counts{};
    ASSERT_TRUE(ComputeChannelHistograms(image->GetBitmap(), counts.data(), progress.Get()));
    EXPECT_EQ(ProgressCalls(progress->Events()), StepCalls(0, 3, 4) + "Finish true;");
}

TEST(ChannelHistograms, AStopEndsUnsuccessfullyAndMissingArgumentsFail)
{
    auto image = MakeImage(3, 4, DistinctPixel);
    auto progress = CComPtr<CRecordingProgress>::Adopt(CRecordingProgress::Create(2));
    Counts counts{};
    EXPECT_FALSE(ComputeChannelHistograms(image->GetBitmap(), counts.data(), progress.Get()));
    EXPECT_EQ(ProgressCalls(progress->Events()), StepCalls(0, 2, 4) + "Finish false;");
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

// ---------------------------------------------------------------- the row loops' variants

namespace {

struct CounterVariant : kernel_variants::Named {
    LevelRowCounter countRow;
};

class LevelCounterVariants : public KernelVariantTest<CounterVariant> {};

} // namespace

INSTANTIATE_TEST_SUITE_P(Each, LevelCounterVariants,
                         testing::Values(CounterVariant{{"Portable", ""}, &CountLevelsRowPortable},
                                         CounterVariant{{"Avx2", "AVX2"}, &CountLevelsRowAvx2},
                                         // The loop the counts run on this processor.
                                         CounterVariant{{"Chosen", ""}, ChosenLevelRowCounter()}),
                         NameOfVariant());

// Widths around the vectors of eight and the runs of 256 pixels, on rows whose stride
// leaves pixels that must not be counted; random colours, then runs of one colour
// (which pile every increment on the same counters) and the extreme levels.
TEST_P(LevelCounterVariants, CountLikeThePlainCount)
{
    std::mt19937 random(31337);
    for (const int width : {0, 1, 2, 7, 8, 9, 31, 255, 256, 257, 511, 600, 1031}) {
        for (const int pattern : {0, 1, 2}) {
            SCOPED_TRACE("width " + std::to_string(width) + ", pattern " + std::to_string(pattern));
            const int height = 5;
            const int stride = width + 3;
            std::vector<uint32_t> pixels(static_cast<size_t>(stride) * height);
            for (size_t i = 0; i < pixels.size(); ++i) {
                const auto drawn = static_cast<uint32_t>(random());
                pixels[i] = pattern == 0 ? drawn : pattern == 1 ? 0x5A3C7E10u : (drawn & 1 ? 0xFFFFFFFFu : 0u);
            }
            for (int y = 0; y < height; ++y) {
                for (int x = width; x < stride; ++x) pixels[static_cast<size_t>(y) * stride + x] = 0x00808080u;
            }
            const PixelRows rows{reinterpret_cast<uint8_t*>(pixels.data()), ptrdiff_t{4} * stride, width, height};
            Counts counts;
            counts.fill(7);
            for (const int threads : {1, 2, 3}) {
                ASSERT_TRUE(CountChannelLevelsWith(rows, counts.data(), {}, GetParam().countRow, threads));
                EXPECT_EQ(counts, ReferenceCounts(pixels, width, height, stride)) << threads << " threads";
            }
        }
    }
}
