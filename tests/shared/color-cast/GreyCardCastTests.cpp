// What a photographer expects of the colour-cast fix: a grey card photographed under
// coloured light comes back grey. The card is a gradient of neutral greys with a
// neutral texture; the light multiplies each channel by a known gain. The gains the
// detection returns, applied through the fix's own tables, must undo the light.
//
// Tolerances follow from rounding alone. Every tinted level is the exact product
// rounded, off by at most half a level, and no tinted level is below 34, so a factor
// could be off by about 0.5 / 34 + 0.5 / 34 (3%) at worst; over the thousands of
// pixels of the nearest fifth the roundings largely cancel, and the factors are held
// within 0.02 of the exact inverse gains. After the fix each channel mean must lie
// within 2 levels of the others.

#include "tests/TestSupport.h"

#include "filters/shared/channel-tables/GainTable.h"
#include "filters/shared/color-cast/ColorCast.h"
#include "filters/shared/pixels/KernelBridge.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <random>
#include <sstream>
#include <string>

namespace {

constexpr double kFactorTolerance = 0.02;
constexpr double kNeutralMeansTolerance = 2.0;

struct Light {
    double red;
    double green;
    double blue;
};

std::string Describe(const Light& light)
{
    std::ostringstream text;
    text << "light (" << light.red << ", " << light.green << ", " << light.blue << ")";
    return text.str();
}

uint32_t Rgb(int red, int green, int blue)
{
    return 0xFF000000u | static_cast<uint32_t>(red) << 16 | static_cast<uint32_t>(green) << 8 |
           static_cast<uint32_t>(blue);
}

int Level(uint32_t pixel, int shift)
{
    return static_cast<int>(pixel >> shift & 0xFFu);
}

int Lit(int level, double gain)
{
    return std::clamp(static_cast<int>(std::lround(level * gain)), 0, 255);
}

// Greys from 40 to 190, darker at one corner and lighter at the other, with a
// neutral grain of up to 8 levels: under gains of 0.85 to 1.2 every level stays
// inside the range the detection reads.
CComPtr<CHostImage> GreyCardUnder(int width, int height, const Light& light, unsigned seed)
{
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> grain(-8, 8);
    return MakeImage(width, height, [&](int x, int y) {
        const int gradient = 40 + 150 * (x + y) / (width + height - 2);
        const int grey = std::clamp(gradient + grain(random), 40, 190);
        return Rgb(Lit(grey, light.red), Lit(grey, light.green), Lit(grey, light.blue));
    });
}

// The factors that undo the light and keep its mean brightness: each channel is
// brought to the mean of the three gains.
ColorCastFactors InverseGains(const Light& light)
{
    const double mean = (light.red + light.green + light.blue) / 3.0;
    return {mean / light.red, mean / light.green, mean / light.blue};
}

// Red, green and blue means of the picture after each channel has gone through its
// gain table.
std::array<double, 3> MeansAfterTables(CHostImage* picture, const ColorCastFactors& factors)
{
    const GainTables tables = BuildGainTables(factors.red, factors.green, factors.blue);
    std::array<double, 3> sums{0.0, 0.0, 0.0};
    for (int y = 0; y < picture->Height(); ++y) {
        for (int x = 0; x < picture->Width(); ++x) {
            const uint32_t pixel = picture->Row(y)[x];
            sums[0] += tables.red[Level(pixel, 16)];
            sums[1] += tables.green[Level(pixel, 8)];
            sums[2] += tables.blue[Level(pixel, 0)];
        }
    }
    const double count = static_cast<double>(picture->Width()) * picture->Height();
    return {sums[0] / count, sums[1] / count, sums[2] / count};
}

double Spread(const std::array<double, 3>& means)
{
    return *std::max_element(means.begin(), means.end()) - *std::min_element(means.begin(), means.end());
}

void ExpectUndoesTheLight(CHostImage* card, const Light& light, const ColorCastFactors& factors)
{
    const ColorCastFactors expected = InverseGains(light);
    EXPECT_NEAR(factors.red, expected.red, kFactorTolerance) << Describe(light);
    EXPECT_NEAR(factors.green, expected.green, kFactorTolerance) << Describe(light);
    EXPECT_NEAR(factors.blue, expected.blue, kFactorTolerance) << Describe(light);

    const std::array<double, 3> before = MeansAfterTables(card, {});
    const std::array<double, 3> after = MeansAfterTables(card, factors);
    EXPECT_LE(Spread(after), kNeutralMeansTolerance)
        << Describe(light) << ": means " << after[0] << ", " << after[1] << ", " << after[2];
    // The fix recolours the card without making it darker or lighter as a whole.
    const double greyBefore = (before[0] + before[1] + before[2]) / 3.0;
    const double greyAfter = (after[0] + after[1] + after[2]) / 3.0;
    EXPECT_NEAR(greyAfter, greyBefore, kNeutralMeansTolerance) << Describe(light);
}

// Warm and cool light, a green and a magenta tint, and a light brighter than the
// scene in every channel, whose correction is relative to the mean gain.
constexpr Light kLights[] = {{1.15, 1.0, 0.85}, {0.85, 1.0, 1.15}, {0.95, 1.12, 0.95},
                             {1.1, 0.88, 1.1},  {1.2, 1.05, 0.9}};

} // namespace

TEST(GreyCardCast, TheFoundFactorsTurnATintedCardGreyAgain)
{
    unsigned seed = 31;
    for (const Light& light : kLights) {
        auto card = GreyCardUnder(320, 240, light, ++seed);
        ColorCastFactors factors;
        ASSERT_TRUE(AnalyseColorCast(RowsOfImage(static_cast<IImage*>(card.Get())), {}, factors))
            << Describe(light);
        ExpectUndoesTheLight(card.Get(), light, factors);
        // Without the fix the card shows its light plainly.
        EXPECT_GT(Spread(MeansAfterTables(card.Get(), {})), 10.0) << Describe(light);
    }
}

// A card larger than 640 pixels is judged on its bilinear copy, whose averaged
// neighbours keep the light's proportions.
TEST(GreyCardCast, TheWholeDetectionUndoesTheLightOnALargeCard)
{
    unsigned seed = 57;
    for (const Light& light : {kLights[0], kLights[1], kLights[4]}) {
        auto card = GreyCardUnder(800, 600, light, ++seed);
        double red = 0.0;
        double green = 0.0;
        double blue = 0.0;
        ASSERT_TRUE(DetectColorCast(static_cast<IImage*>(card.Get()), nullptr, &red, &green, &blue))
            << Describe(light);
        ExpectUndoesTheLight(card.Get(), light, {red, green, blue});
    }
}

// Under white light there is nothing to undo: the card keeps every level.
TEST(GreyCardCast, ACardUnderWhiteLightIsLeftAsItIs)
{
    auto card = GreyCardUnder(320, 240, {1.0, 1.0, 1.0}, 5);
    double red = 0.0;
    double green = 0.0;
    double blue = 0.0;
    ASSERT_TRUE(DetectColorCast(static_cast<IImage*>(card.Get()), nullptr, &red, &green, &blue));
    const GainTables tables = BuildGainTables(red, green, blue);
    for (int level = 40; level <= 190; ++level) {
        EXPECT_EQ(tables.red[level], level);
        EXPECT_EQ(tables.green[level], level);
        EXPECT_EQ(tables.blue[level], level);
    }
}
