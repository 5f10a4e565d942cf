// The HSL mode's row loops against the portable one, which defines the bits: every
// colour of the cube under a few settings, and a dense sample with the colours where
// the conversions branch (greys, primaries and their mixtures, ties between channels,
// lightness at one half) under the dialog's corner settings and texts far outside its
// ranges, on rows of every length modulo the vector width.

#include "tests/color-balance/ColorBalanceReference.h"
#include "tests/shared/KernelVariants.h"

#include "filters/color-balance/ColorBalanceKernels.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <limits>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct HslLoopVariant : kernel_variants::Named {
    HslRowLoop loop;
};

using PixelRule = uint32_t (*)(uint32_t pixel, const HslAdjustment& adjustment);

uint32_t ByReference(uint32_t pixel, const HslAdjustment& adjustment)
{
    return color_balance_reference::HslPixel(pixel, adjustment.hue, adjustment.saturation, adjustment.lightness);
}

class HslLoopVariants : public KernelVariantTest<HslLoopVariant> {
protected:
    bool IsPortable() const { return GetParam().loop == &AdjustHslRowPortable; }
    // The portable loop answers to the plain reference, every other loop to the
    // portable loop's pixels.
    PixelRule Expected() const { return IsPortable() ? &ByReference : &AdjustPixelHsl; }
};

constexpr uint32_t kMark = 0xDEADBEEFu;

uint32_t Rgb(int red, int green, int blue)
{
    return static_cast<uint32_t>(red) << 16 | static_cast<uint32_t>(green) << 8 | static_cast<uint32_t>(blue);
}

std::string Describe(const HslAdjustment& adjustment)
{
    std::ostringstream text;
    text << "hue " << adjustment.hue << " saturation " << adjustment.saturation << " lightness "
         << adjustment.lightness;
    return text.str();
}

// The colours laid out in rows of width pixels, each row followed by two marked
// pixels a loop must not touch; the last row is filled up with black. The fourth byte
// varies, so that a loop that forgets to clear it shows.
struct PaddedRows {
    int width;
    int height;
    std::vector<uint32_t> pixels;

    PaddedRows(const std::vector<uint32_t>& colours, int w)
        : width(w),
          height(static_cast<int>((colours.size() + static_cast<size_t>(w) - 1) / static_cast<size_t>(w))),
          pixels(static_cast<size_t>(w + 2) * static_cast<size_t>(height), kMark)
    {
        for (size_t i = 0; i < static_cast<size_t>(width) * static_cast<size_t>(height); ++i) {
            const uint32_t colour = i < colours.size() ? colours[i] : 0u;
            At(i) = static_cast<uint32_t>(i * 37 & 0xFF) << 24 | colour;
        }
    }

    // The i-th colour's pixel.
    uint32_t& At(size_t i)
    {
        const auto w = static_cast<size_t>(width);
        return pixels[i / w * (w + 2) + i % w];
    }
    PixelRows Rows() { return {reinterpret_cast<uint8_t*>(pixels.data()), ptrdiff_t{4} * (width + 2), width, height}; }

    bool MarksKept() const
    {
        for (int y = 0; y < height; ++y) {
            const size_t end = static_cast<size_t>(y + 1) * static_cast<size_t>(width + 2);
            if (pixels[end - 2] != kMark || pixels[end - 1] != kMark) return false;
        }
        return true;
    }
};

// Runs the loop over the colours on rows of the given width and compares every pixel
// with the rule's; the first few differences are reported.
void ExpectSameBits(HslRowLoop loop, PixelRule rule, const std::vector<uint32_t>& colours,
                    const HslAdjustment& adjustment, int width)
{
    SCOPED_TRACE(Describe(adjustment) + ", rows of " + std::to_string(width));
    PaddedRows rows(colours, width);
    std::vector<uint32_t> expected(colours.size());
    for (size_t i = 0; i < colours.size(); ++i) expected[i] = rule(rows.At(i), adjustment);
    ASSERT_TRUE(AdjustHslRowsWith(rows.Rows(), adjustment, {}, loop));
    EXPECT_TRUE(rows.MarksKept());
    int differences = 0;
    for (size_t i = 0; i < colours.size() && differences < 5; ++i) {
        if (rows.At(i) == expected[i]) continue;
        ++differences;
        ADD_FAILURE() << std::hex << "colour 0x" << colours[i] << ": 0x" << rows.At(i) << " instead of 0x"
                      << expected[i];
    }
}

// Every level that is a multiple of 7, the ends and their neighbours, and both sides
// of the middle.
std::vector<int> SampleLevels()
{
    std::vector<int> levels{1, 2, 126, 127, 128, 129, 253, 254, 255};
    for (int level = 0; level < 256; level += 7) levels.push_back(level);
    std::sort(levels.begin(), levels.end());
    levels.erase(std::unique(levels.begin(), levels.end()), levels.end());
    return levels;
}

// The colours where the portable code branches, in every channel order: greys (the
// largest equals the smallest), the primaries and their mixtures at every strength
// and against white, two channels tied for largest or smallest, and the largest and
// the smallest level adding up to 254, 255 and 256 (lightness just below, at and just
// above one half).
std::vector<uint32_t> EdgeColours()
{
    std::vector<uint32_t> colours;
    const auto everyOrder = [&colours](int a, int b, int c) {
        int order[] = {a, b, c};
        std::sort(order, order + 3);
        do {
            colours.push_back(Rgb(order[0], order[1], order[2]));
        } while (std::next_permutation(order, order + 3));
    };
    for (int v = 0; v < 256; ++v) {
        everyOrder(v, v, v);
        everyOrder(v, 0, 0);
        everyOrder(v, v, 0);
        everyOrder(v, 255, 255);
        everyOrder(v, 255, 0);
        everyOrder(v, v, 255 - v);
        for (const int sum : {254, 255, 256}) {
            const int other = sum - v;
            if (other < 0 || other > 255) continue;
            const int low = std::min(v, other);
            const int high = std::max(v, other);
            everyOrder(low, high, low);
            everyOrder(low, high, high);
            everyOrder(low, high, (low + high) / 2);
        }
    }
    return colours;
}

std::vector<uint32_t> DenseColours()
{
    std::vector<uint32_t> colours = EdgeColours();
    const std::vector<int> levels = SampleLevels();
    for (const int red : levels) {
        for (const int green : levels) {
            for (const int blue : levels) colours.push_back(Rgb(red, green, blue));
        }
    }
    return colours;
}

// The dialog's ends and middles, and turns with a fraction: 0.1 added to 360 and
// taken off again is not 0.1.
std::vector<HslAdjustment> DialogSettings()
{
    std::vector<HslAdjustment> settings;
    for (const double hue : {-180.0, 0.0, 0.1, 37.5, 180.0}) {
        for (const double saturation : {0.0, 1.0, 2.0}) {
            for (const double lightness : {0.0, 0.5, 2.0}) settings.push_back({hue, saturation, lightness});
        }
    }
    return settings;
}

// What a parameter text can still say: turns past a full circle either way, negative
// factors, infinities and NaNs, which reach the lanes of every side of a branch.
std::vector<HslAdjustment> TextOnlySettings()
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double infinity = std::numeric_limits<double>::infinity();
    return {{1.0, 1.0, 1.0},       {1000.0, 1.0, 1.0},      {-1000.0, 1.5, 0.7},    {359.9, 0.3, 1.2},
            {-0.0, -0.0, 1.0},     {37.5, -1.0, 1.0},       {37.5, 1.0, -0.5},      {nan, 1.0, 1.0},
            {37.5, nan, 1.0},      {37.5, 1.0, nan},        {infinity, 1.0, 1.0},   {-infinity, 1.0, 1.0},
            {37.5, infinity, 1.0}, {37.5, 1.0, infinity},   {37.5, 1e300, 1e-300}, {nan, nan, nan}};
}

} // namespace

INSTANTIATE_TEST_SUITE_P(Each, HslLoopVariants,
                         testing::Values(HslLoopVariant{{"Portable", ""}, &AdjustHslRowPortable},
                                         HslLoopVariant{{"Avx2", "AVX2"}, &AdjustHslRowAvx2},
                                         // The loop the filter runs on this processor.
                                         HslLoopVariant{{"Chosen", ""}, ChosenHslRowLoop()}),
                         NameOfVariant());

// The whole cube, 2^24 colours, each under one of four settings taken in turn so that
// every setting meets colours of every kind: turns with a fraction and half turns both
// ways, the saturation doubled, kept, halved and raised, the lightness halved,
// doubled, kept and lowered.
TEST_P(HslLoopVariants, EveryColourOfTheCubeGivesThePortableBits)
{
    const HslAdjustment settings[] = {{37.5, 2.0, 0.5}, {-180.0, 1.0, 2.0}, {180.0, 0.5, 1.0}, {-37.5, 1.5, 0.8}};
    const int widths[] = {4001, 4098, 1023, 4000};
    for (uint32_t turn = 0; turn < 4; ++turn) {
        std::vector<uint32_t> colours;
        colours.reserve(size_t{1} << 22);
        for (uint32_t colour = turn; colour < (1u << 24); colour += 4) colours.push_back(colour);
        ExpectSameBits(GetParam().loop, Expected(), colours, settings[turn], widths[turn]);
    }
}

// The dense sample under the dialog's corner settings, each on rows of another length
// so that every tail (0 to 3 pixels after the last whole vector) is met.
TEST_P(HslLoopVariants, DenseSampleUnderTheDialogsSettingsGivesThePortableBits)
{
    const std::vector<uint32_t> colours = DenseColours();
    const int widths[] = {5, 6, 7, 9, 10, 13, 33, 255, 1022, 4001, 4000};
    size_t next = 0;
    for (const HslAdjustment& adjustment : DialogSettings()) {
        ExpectSameBits(GetParam().loop, Expected(), colours, adjustment, widths[next++ % std::size(widths)]);
    }
}

// The plain reference has no answer for a NaN (its conversion to a level is
// undefined), so here the portable loop is the only rule.
TEST_P(HslLoopVariants, TextSettingsOutsideTheDialogsRangesGiveThePortableBits)
{
    if (IsPortable()) GTEST_SKIP() << "the portable loop defines these pixels";
    const std::vector<uint32_t> colours = DenseColours();
    int width = 11;
    for (const HslAdjustment& adjustment : TextOnlySettings()) {
        ExpectSameBits(GetParam().loop, &AdjustPixelHsl, colours, adjustment, width++);
    }
}

// Rows shorter than a vector and a few vectors long, each length from 1 to 19, so the
// loop's tail runs alone and after whole vectors.
TEST_P(HslLoopVariants, EveryShortRowLengthGivesThePortableBits)
{
    std::mt19937 random(2024);
    std::vector<uint32_t> colours(19 * 7);
    for (uint32_t& colour : colours) colour = static_cast<uint32_t>(random()) & 0xFFFFFFu;
    for (int width = 1; width <= 19; ++width) {
        for (const HslAdjustment& adjustment : {HslAdjustment{}, HslAdjustment{-120.25, 0.6, 1.4}}) {
            ExpectSameBits(GetParam().loop, Expected(), colours, adjustment, width);
        }
    }
}
