// Adding noise as a kernel: each channel moves by the offset its own draw gives, in
// the order red, green, blue, rows as the section stores them; the offsets of the
// runtime's generator fill their range as the rule says they should.

#include "tests/KernelPicture.h"

#include "filters/noise/NoiseAddKernel.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <map>
#include <vector>

namespace {

constexpr int kLargestDraw = CNoiseDraws::kLargestNoiseDraw;

// A scripted sequence of draws, repeated when it runs out.
class CScriptedDraws final : public CNoiseDraws {
public:
    explicit CScriptedDraws(std::vector<int> draws) : m_draws(std::move(draws)) {}
    void Fill(int* draws, size_t count) override
    {
        for (size_t i = 0; i < count; ++i) draws[i] = m_draws[m_next++ % m_draws.size()];
    }
    size_t Drawn() const { return m_next; }

private:
    std::vector<int> m_draws;
    size_t m_next = 0;
};

using Picture = KernelPicture;

uint32_t Bgra(int red, int green, int blue, int fourth)
{
    return static_cast<uint32_t>(fourth) << 24 | static_cast<uint32_t>(red) << 16 |
           static_cast<uint32_t>(green) << 8 | static_cast<uint32_t>(blue);
}

int Red(uint32_t pixel) { return static_cast<int>(pixel >> 16 & 0xFF); }
int Green(uint32_t pixel) { return static_cast<int>(pixel >> 8 & 0xFF); }
int Blue(uint32_t pixel) { return static_cast<int>(pixel & 0xFF); }

const UnitReport kNobody;

} // namespace

// Offsets worked out by hand from trunc((u / 32767 - 0.5) * (-255) * amount).
TEST(NoiseAddKernel, OffsetsFollowTheRuleAtTheEndsTheMiddleAndBeyondTheRange)
{
    EXPECT_EQ(NoiseOffset(0, 1.0), 127) << "-0.5 * -255 = 127.5";
    EXPECT_EQ(NoiseOffset(kLargestDraw, 1.0), -127);
    EXPECT_EQ(NoiseOffset(16383, 1.0), 0) << "just below the middle: 0.0039";
    EXPECT_EQ(NoiseOffset(16384, 1.0), 0) << "just above the middle: -0.0039";
    EXPECT_EQ(NoiseOffset(128, 1.0), 126) << "(128 / 32767 - 0.5) * -255 = 126.504";
    EXPECT_EQ(NoiseOffset(0, 0.3), 38) << "127.5 * 0.3 = 38.25";
    EXPECT_EQ(NoiseOffset(kLargestDraw, 0.3), -38);
    EXPECT_EQ(NoiseOffset(0, -1.0), -127) << "a negative amount turns the offsets round";
    for (int draw : {0, 1, 12345, kLargestDraw}) EXPECT_EQ(NoiseOffset(draw, 0.0), 0) << draw;
    EXPECT_EQ(NoiseOffset(0, std::nan("")), 0);
    EXPECT_EQ(NoiseOffset(0, 1e300), 256) << "any offset past a full swing changes nothing more";
    EXPECT_EQ(NoiseOffset(kLargestDraw, 1e300), -256);
}

// Draws 0, 32767 and 16383 stand for offsets 127, -127 and 0 at amount 1.
TEST(NoiseAddKernel, ChannelsTakeTheirDrawsRedGreenBlueRowsFromTheSectionsFirst)
{
    Picture picture(2, 2, Bgra(128, 128, 128, 0x77));
    CScriptedDraws draws({0, kLargestDraw, 16383,    // row 0, x 0: red -127, green +127, blue 0
                          kLargestDraw, 16383, 0,    // row 0, x 1
                          16383, 0, kLargestDraw,    // row 1, x 0
                          128, 32639, 16383});       // row 1, x 1: 126.50 and -126.50
    std::vector<std::pair<int, int>> reports;
    ASSERT_TRUE(AddNoise(picture.Rows(), 1.0, draws, [&](int done, int total) {
        reports.emplace_back(done, total);
        return true;
    }));
    EXPECT_EQ(draws.Drawn(), 12u);
    EXPECT_EQ(picture.pixels[0], Bgra(1, 255, 128, 0));
    EXPECT_EQ(picture.pixels[1], Bgra(255, 128, 1, 0));
    EXPECT_EQ(picture.pixels[2], Bgra(128, 1, 255, 0));
    EXPECT_EQ(picture.pixels[3], Bgra(2, 254, 128, 0));
    EXPECT_EQ(reports, (std::vector<std::pair<int, int>>{{1, 2}, {2, 2}}));
}

TEST(NoiseAddKernel, ChannelsStayWithinTheirRange)
{
    struct Case {
        int channel;
        int draw;
        double amount;
        int expected;
    };
    for (const Case& c : {Case{0, kLargestDraw, 1.0, 127},   // a channel at 0 only goes up, by 127 at most
                          Case{0, 0, 1.0, 0},                // 0 - 127 is kept at 0
                          Case{10, 0, 1.0, 0},
                          Case{255, 0, 1.0, 128},
                          Case{250, kLargestDraw, 1.0, 255},  // 250 + 127 is kept at 255
                          Case{200, 0, 1e9, 0},
                          Case{200, kLargestDraw, 1e9, 255},
                          Case{90, 0, 0.5, 27}}) {          // 127.5 * 0.5 = 63.75, 90 - 63
        Picture picture(1, 1, Bgra(c.channel, c.channel, c.channel, 0xFF));
        CScriptedDraws draws({c.draw});
        ASSERT_TRUE(AddNoise(picture.Rows(), c.amount, draws, kNobody));
        EXPECT_EQ(picture.pixels[0], Bgra(c.expected, c.expected, c.expected, 0))
            << c.channel << " draw " << c.draw << " amount " << c.amount;
    }
}

TEST(NoiseAddKernel, AmountZeroKeepsEveryColourAndClearsTheFourthByte)
{
    Picture picture(7, 5);
    for (uint32_t i = 0; i < 35; ++i) picture.pixels[i] = i * 0x07130B29u + 0x55000000u;
    const std::vector<uint32_t> before = picture.pixels;
    CProcessRandomDraws draws(12345);
    ASSERT_TRUE(AddNoise(picture.Rows(), 0.0, draws, kNobody));
    for (size_t i = 0; i < before.size(); ++i) EXPECT_EQ(picture.pixels[i], before[i] & 0x00FFFFFFu) << i;
}

// Rows the stop leaves out keep their pixels; a picture with padding between its
// rows keeps the padding.
TEST(NoiseAddKernel, AStopEndsTheWorkAtThatRowAndPaddingIsLeftAlone)
{
    constexpr int kWidth = 3;
    constexpr int kHeight = 4;
    constexpr int kStride = 5;  // pixels from one row to the next
    std::vector<uint32_t> pixels(kStride * kHeight, Bgra(100, 100, 100, 0xFF));
    const PixelRows rows{reinterpret_cast<uint8_t*>(pixels.data()), ptrdiff_t{4} * kStride, kWidth, kHeight};
    CScriptedDraws draws({0});
    EXPECT_FALSE(AddNoise(rows, 1.0, draws, [](int done, int) { return done < 2; }));
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kStride; ++x) {
            const bool changed = y < 2 && x < kWidth;
            EXPECT_EQ(pixels[static_cast<size_t>(y * kStride + x)],
                      changed ? Bgra(0, 0, 0, 0) : Bgra(100, 100, 100, 0xFF))
                << x << ", " << y;
        }
    }
}

TEST(NoiseAddKernel, TheRuntimesGeneratorRepeatsForASeedAndStaysWithinItsRange)
{
    std::vector<int> first(5000);
    std::vector<int> second(5000);
    std::vector<int> other(5000);
    CProcessRandomDraws(77).Fill(first.data(), first.size());
    CProcessRandomDraws(77).Fill(second.data(), second.size());
    CProcessRandomDraws(78).Fill(other.data(), other.size());
    EXPECT_EQ(first, second);
    EXPECT_NE(first, other);
    EXPECT_GE(*std::min_element(first.begin(), first.end()), 0);
    EXPECT_LE(*std::max_element(first.begin(), first.end()), kLargestDraw);
    // 5000 draws reach both tenths at the ends of the range.
    EXPECT_LT(*std::min_element(first.begin(), first.end()), kLargestDraw / 10);
    EXPECT_GT(*std::max_element(first.begin(), first.end()), kLargestDraw - kLargestDraw / 10);
}

// A mid-grey picture at amount 1: no channel is clamped, so every offset shows as the
// channel's change. Each offset k is expected with the share of the 32768 draws the
// rule maps to it (k = 0 twice as often as most, +-127 half as often). The chi-square
// statistic over the 255 offsets (254 degrees of freedom) stays below 330, which a
// uniform generator exceeds with a probability of 0.001; the seed is fixed.
TEST(NoiseAddKernel, OffsetsAtAmountOneStayWithin127AndFollowTheRulesDistribution)
{
    constexpr int kGrey = 128;
    Picture picture(640, 480, Bgra(kGrey, kGrey, kGrey, 0xFF));
    CProcessRandomDraws draws(20240611);
    ASSERT_TRUE(AddNoise(picture.Rows(), 1.0, draws, kNobody));

    std::map<int, double> drawsPerOffset;
    for (int u = 0; u <= kLargestDraw; ++u) ++drawsPerOffset[static_cast<int>((u / 32767.0 - 0.5) * -255.0 * 1.0)];
    ASSERT_EQ(drawsPerOffset.size(), 255u);
    EXPECT_EQ(drawsPerOffset.begin()->first, -127);
    EXPECT_EQ(drawsPerOffset.rbegin()->first, 127);

    std::map<int, int> seen;
    for (uint32_t pixel : picture.pixels) {
        for (int channel : {Red(pixel), Green(pixel), Blue(pixel)}) {
            const int offset = kGrey - channel;
            ASSERT_LE(std::abs(offset), 127);
            ++seen[offset];
        }
    }
    const double samples = 3.0 * static_cast<double>(picture.pixels.size());
    double chiSquare = 0.0;
    for (const auto& [offset, share] : drawsPerOffset) {
        const double expected = samples * share / (kLargestDraw + 1);
        const double difference = seen[offset] - expected;
        chiSquare += difference * difference / expected;
    }
    EXPECT_LT(chiSquare, 330.0);
    // Not a constant picture either: the extremes are reached.
    EXPECT_GT(seen[127], 0);
    EXPECT_GT(seen[-127], 0);
}
