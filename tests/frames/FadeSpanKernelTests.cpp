// The side bands' span loop: the AVX2 loop against the portable one, on every span
// length up to 19 (all remainders of four) and every starting column, with shares in
// and far beyond 0 .. 1, so that the hold in 0 .. 255 and the truncation are met.

#include "filters/frames/FadeSpanKernel.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <utility>
#include <vector>

namespace {

std::vector<uint32_t> RandomPixels(size_t count, uint32_t seed)
{
    std::vector<uint32_t> pixels(count);
    for (auto& pixel : pixels) {
        seed = seed * 1664525u + 1013904223u;
        pixel = seed;
    }
    return pixels;
}

void CompareLoops(const ColumnFades& fades)
{
    const int columns = static_cast<int>(fades.weights.size());
    uint32_t seed = 11;
    for (int count = 0; count <= 19; ++count) {
        for (int first = 0; first + count <= columns; ++first) {
            std::vector<uint32_t> source = RandomPixels(static_cast<size_t>(count) + 2, ++seed);
            if (seed % 3 == 0) std::fill(source.begin(), source.end(), 0xFFFFFFFFu);
            std::vector<uint32_t> portable = source;
            std::vector<uint32_t> vector = source;
            FadeSpanPortable(portable.data() + 1, count, fades, first);
            FadeSpanAvx2(vector.data() + 1, count, fades, first);
            ASSERT_EQ(vector, portable) << count << " from " << first;
            EXPECT_EQ(vector.front(), source.front());
            EXPECT_EQ(vector.back(), source.back());
        }
    }
}

} // namespace

TEST(FadeSpanKernel, PortableLoopIsThePixelRulePerColumn)
{
    const FrameColor color = FrameColorOf(0x5871FF);
    const std::vector<double> weights = {0.0, 0.25, 0.8, 1.0, 0.5};
    const ColumnFades fades = MakeColumnFades(color, weights);
    const std::vector<uint32_t> source = RandomPixels(3, 7);
    std::vector<uint32_t> pixels = source;
    FadeSpanPortable(pixels.data(), 3, fades, 2);
    for (size_t i = 0; i < 3; ++i) EXPECT_EQ(pixels[i], FadeFramePixel(source[i], color, weights[2 + i])) << i;
    // Share 0 is the pure colour (blue 0x58, green 0x71, red 0xFF), the fourth byte 0.
    pixels = {0xAB123456u};
    FadeSpanPortable(pixels.data(), 1, fades, 0);
    EXPECT_EQ(pixels[0], 0xFF7158u);
}

// Shares within 0 .. 1 (the panel's ramps, where the loop leaves the hold out, up to
// a share of 1 and white on white), and shares far outside (a typed intensity).
TEST(FadeSpanKernel, TheVectorLoopGivesThePortableBits)
{
    if (!__builtin_cpu_supports("avx2")) GTEST_SKIP() << "no AVX2 on this processor";
    std::vector<double> within;
    for (int k = 0; k < 23; ++k) within.push_back(k * 0.8 / 23);
    within.insert(within.end(), {1.0, 0.999999999, 0.0, 1.0 / 3});
    std::vector<double> beyond = within;
    beyond.insert(beyond.end(), {-3.5, 7.25, 1e12, -1e12});
    for (const auto& [weights, color] : {std::pair{within, 0x78FF8Eu}, std::pair{within, 0xFFFFFFu},
                                         std::pair{beyond, 0x78FF8Eu}}) {
        const ColumnFades fades = MakeColumnFades(FrameColorOf(color), weights);
        EXPECT_EQ(fades.sharesWithinOne, weights.size() == within.size());
        CompareLoops(fades);
    }
}

// The top and bottom bands' rows: one share for the whole run, the portable loop
// being the pixel rule and the AVX2 loop its bits, on every run length to 19, with
// shares in and far beyond 0 .. 1 and NaN (which the hold turns into 0).
TEST(FadeSpanKernel, RowsOfOneShareFollowThePixelRuleAndTheVectorLoopItsBits)
{
    const FrameColor color = FrameColorOf(0x78FF8Eu);
    const bool vector = __builtin_cpu_supports("avx2") != 0;
    uint32_t seed = 5;
    for (const double weight : {0.0, 0.3, 0.8, 1.0, -3.5, 7.25, 1e12, std::nan("")}) {
        const RowFade fade = MakeRowFade(color, weight);
        EXPECT_EQ(fade.shareWithinOne, weight >= 0.0 && weight <= 1.0) << weight;
        for (int count = 0; count <= 19; ++count) {
            const std::vector<uint32_t> source = RandomPixels(static_cast<size_t>(count) + 2, ++seed);
            std::vector<uint32_t> portable = source;
            FadeRowPortable(portable.data() + 1, count, fade);
            for (size_t i = 1; i <= static_cast<size_t>(count); ++i) {
                ASSERT_EQ(portable[i], FadeFramePixel(source[i], color, weight)) << weight << " at " << i;
            }
            EXPECT_EQ(portable.front(), source.front());
            EXPECT_EQ(portable.back(), source.back());
            if (!vector) continue;
            std::vector<uint32_t> avx2 = source;
            FadeRowAvx2(avx2.data() + 1, count, fade);
            ASSERT_EQ(avx2, portable) << weight << ", " << count << " pixels";
        }
    }
}
