// Colour balance: the gain tables, the HSL conversions and their worked colours, the
// HSL kernel against a plain reference, and the filter's apply in both modes.

#include "tests/HostDoubles.h"
#include "tests/TestSupport.h"
#include "tests/color-balance/ColorBalanceReference.h"

#include "filters/color-balance/ColorBalanceFactory.h"
#include "filters/color-balance/ColorBalanceKernels.h"
#include "filters/shared/channel-tables/GainTable.h"
#include "refhost/RecordingProgress.h"


#include <gtest/gtest.h>

#include <array>
#include <vector>

namespace {

namespace reference = color_balance_reference;

uint32_t Rgb(int red, int green, int blue, uint32_t fourth = 0xFF)
{
    return fourth << 24 | static_cast<uint32_t>(red) << 16 | static_cast<uint32_t>(green) << 8 |
           static_cast<uint32_t>(blue);
}

std::array<uint8_t, 256> Gains(double factor)
{
    std::array<uint8_t, 256> table{};
    BuildGainTable(factor, table.data());
    return table;
}

struct Applied {
    bool succeeded = false;
    int code = 0;
    CComPtr<IImage> result;
    CComPtr<CRecordingProgress> progress;

    uint32_t Pixel(int x, int y) const
    {
        return reinterpret_cast<const uint32_t*>(result->GetPixels())[y * SizeOf(result.Get()).first + x];
    }
};

Applied ApplyWith(CHostImage* source, const char16_t* format, int cancelAtStep = CRecordingProgress::kNeverCancel)
{
    auto filter = CreateInteractiveFilter(FactoryOf<CColorBalanceFactory>(), static_cast<IImage*>(source), format);
    Applied applied;
    applied.progress = CComPtr<CRecordingProgress>::Adopt(CRecordingProgress::Create(cancelAtStep));
    CComPtr<IStatus> status;
    applied.succeeded = filter->Apply(nullptr, applied.result.Receive(), applied.progress.Get(), status.Receive());
    applied.code = status ? status->GetCode() : 0;
    return applied;
}

// Levels of every kind, the fourth byte varying.
uint32_t MixedPixel(int x, int y)
{
    const int red = (x * 37 + y * 11) % 256;
    const int green = (x * 13 + y * 53 + 90) % 256;
    const int blue = (x * 71 + y * 29 + 200) % 256;
    return Rgb(red, green, blue, static_cast<uint32_t>(x * 3 + y * 5) & 0xFF);
}

} // namespace

// ---------------------------------------------------------------- gain tables

TEST(ColorBalanceGains, TablesRoundTheClampedProductHalfUp)
{
    const auto keep = Gains(1.0);
    for (int i = 0; i < 256; ++i) EXPECT_EQ(keep[static_cast<size_t>(i)], i);

    const auto half = Gains(0.5);
    EXPECT_EQ(half[255], 128);  // 127.5 rounds up
    EXPECT_EQ(half[3], 2);      // 1.5 + 0.5 = 2.0
    EXPECT_EQ(half[2], 1);
    EXPECT_EQ(half[0], 0);

    const auto twice = Gains(2.0);
    for (int i = 128; i < 256; ++i) EXPECT_EQ(twice[static_cast<size_t>(i)], 255) << i;
    EXPECT_EQ(twice[127], 254);

    for (uint8_t level : Gains(-0.3)) EXPECT_EQ(level, 0);

    // One table per channel, each from its own factor.
    const GainTables tables = BuildGainTables(0.5, 1.0, 2.0);
    EXPECT_EQ(tables.red[255], 128);
    EXPECT_EQ(tables.green[77], 77);
    EXPECT_EQ(tables.blue[127], 254);
    EXPECT_EQ(tables.blue[128], 255);
    for (int percent : {0, 1, 33, 99, 101, 150, 199, 200}) {
        const auto table = Gains(percent / 100.0);
        for (int i = 0; i < 256; ++i) EXPECT_EQ(table[static_cast<size_t>(i)], reference::GainEntry(i, percent)) << i;
    }
}

// ---------------------------------------------------------------- HSL conversions

TEST(ColorBalanceHsl, HuesOfThePrimariesAndTheirMixtures)
{
    struct Case {
        double r, g, b, hue;
    };
    for (const Case& c : {Case{0, 0, 1, 0}, Case{1, 0, 1, 60}, Case{1, 0, 0, 120}, Case{1, 1, 0, 180},
                          Case{0, 1, 0, 240}, Case{0, 1, 1, 300}}) {
        const HslColor hsl = RgbToHsl(c.r, c.g, c.b);
        EXPECT_EQ(hsl.hue, c.hue) << c.r << c.g << c.b;
        EXPECT_EQ(hsl.saturation, 1.0);
        EXPECT_EQ(hsl.lightness, 0.5);
        double r = -1;
        double g = -1;
        double b = -1;
        HslToRgb(hsl, r, g, b);
        EXPECT_EQ(r, c.r);
        EXPECT_EQ(g, c.g);
        EXPECT_EQ(b, c.b);
    }
    // Light and dark: the two saturation formulas, and a grey with neither hue nor
    // saturation.
    const HslColor light = RgbToHsl(1.0, 0.5, 0.5);
    EXPECT_EQ(light.lightness, 0.75);
    EXPECT_EQ(light.saturation, 1.0);  // 0.5 / (2 - 1 - 0.5)
    const HslColor dark = RgbToHsl(0.5, 0.0, 0.25);
    EXPECT_EQ(dark.lightness, 0.25);
    EXPECT_EQ(dark.saturation, 1.0);  // 0.5 / 0.5
    EXPECT_EQ(dark.hue, 90.0);        // green is the smallest: bc + 1 with bc = 0.5
    const HslColor grey = RgbToHsl(0.3, 0.3, 0.3);
    EXPECT_EQ(grey.saturation, 0.0);
    EXPECT_EQ(grey.lightness, 0.3);
}

TEST(ColorBalanceHsl, WorkedPixels)
{
    // Rotations of pure red by a third of the circle either way.
    EXPECT_EQ(AdjustPixelHsl(Rgb(255, 0, 0), {120, 1, 1}), Rgb(0, 255, 0, 0));
    EXPECT_EQ(AdjustPixelHsl(Rgb(255, 0, 0), {-120, 1, 1}), Rgb(0, 0, 255, 0));
    // No saturation leaves the lightness: (200 + 50) / 2.
    EXPECT_EQ(AdjustPixelHsl(Rgb(200, 100, 50), {0, 0, 1}), Rgb(125, 125, 125, 0));
    EXPECT_EQ(AdjustPixelHsl(Rgb(200, 100, 50), {0, 1, 0.5}), Rgb(100, 50, 24, 0));
    // 1 / 255 as a literal times 255 lies below 1: neutral settings lower this grey.
    EXPECT_EQ(AdjustPixelHsl(Rgb(33, 33, 33), {0, 1, 1}), Rgb(32, 32, 32, 0));
    // Lightness 0 is black; a factor that takes the lightness past 1 stops at white.
    EXPECT_EQ(AdjustPixelHsl(Rgb(200, 100, 50), {0, 1, 0}), Rgb(0, 0, 0, 0));
    EXPECT_EQ(AdjustPixelHsl(Rgb(200, 100, 50), {0, 1, 50}), Rgb(255, 255, 255, 0));
    // Turns past a full circle come back round once.
    EXPECT_EQ(AdjustPixelHsl(Rgb(255, 0, 0), {360, 1, 1}), AdjustPixelHsl(Rgb(255, 0, 0), {0, 1, 1}));
    EXPECT_EQ(AdjustPixelHsl(Rgb(0, 0, 255), {-360, 1, 1}), AdjustPixelHsl(Rgb(0, 0, 255), {0, 1, 1}));
}

TEST(ColorBalanceHsl, KernelMatchesThePlainReference)
{
    const std::vector<HslAdjustment> adjustments{{0, 1, 1},    {1, 1, 1},       {30, 1, 1},     {-95.5, 1.3, 0.8},
                                                 {180, 0.25, 1.7}, {-180, 2, 2}, {47.25, 0, 1}, {1, 1, 0.01}};
    for (const HslAdjustment& adjustment : adjustments) {
        for (int r = 0; r < 256; r += 5) {
            for (int g = 0; g < 256; g += 7) {
                for (int b = 0; b < 256; b += 3) {
                    const uint32_t pixel = Rgb(r, g, b, 0x80);
                    ASSERT_EQ(AdjustPixelHsl(pixel, adjustment),
                              reference::HslPixel(pixel, adjustment.hue, adjustment.saturation, adjustment.lightness))
                        << r << "," << g << "," << b << " hue " << adjustment.hue;
                }
            }
        }
    }
}

TEST(ColorBalanceHsl, RowsAreReportedBeforeTheyAreConverted)
{
    // Rows 5 pixels wide, 8 apart in the buffer: the pixels between are not touched.
    std::vector<uint32_t> buffer(8 * 3, 0xDEADBEEFu);
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 5; ++x) buffer[static_cast<size_t>(y * 8 + x)] = MixedPixel(x, y);
    }
    const PixelRows rows{reinterpret_cast<uint8_t*>(buffer.data()), 32, 5, 3};
    std::vector<std::pair<int, int>> reports;
    const HslAdjustment adjustment{40, 1.2, 0.9};
    EXPECT_FALSE(AdjustHslRows(rows, adjustment, [&](int done, int total) {
        reports.emplace_back(done, total);
        return done < 1;
    }));
    EXPECT_EQ(reports, (std::vector<std::pair<int, int>>{{0, 3}, {1, 3}}));
    for (int x = 0; x < 5; ++x) {
        EXPECT_EQ(buffer[static_cast<size_t>(x)], reference::HslPixel(MixedPixel(x, 0), 40, 1.2, 0.9));
        EXPECT_EQ(buffer[static_cast<size_t>(8 + x)], MixedPixel(x, 1)) << "the stopped row stays";
    }
    EXPECT_TRUE(AdjustHslRows(rows, adjustment, {}));
    for (int x = 5; x < 8; ++x) EXPECT_EQ(buffer[static_cast<size_t>(16 + x)], 0xDEADBEEFu);
}

// ---------------------------------------------------------------- the filter

TEST(ColorBalanceFilter, RgbModeMapsEachChannelThroughItsGain)
{
    auto source = MakeImage(23, 9, MixedPixel);
    // Without "active" the mode is RGB.
    const Applied applied = ApplyWith(source.Get(), u"red:50\ngreen:200\nblue:137\n");
    ASSERT_TRUE(applied.succeeded);
    for (int y = 0; y < 9; ++y) {
        for (int x = 0; x < 23; ++x) {
            const uint32_t before = MixedPixel(x, y);
            const uint32_t expected = (before & 0xFF000000u) |
                                      static_cast<uint32_t>(reference::GainEntry(before >> 16 & 0xFF, 50)) << 16 |
                                      static_cast<uint32_t>(reference::GainEntry(before >> 8 & 0xFF, 200)) << 8 |
                                      static_cast<uint32_t>(reference::GainEntry(before & 0xFF, 137));
            ASSERT_EQ(applied.Pixel(x, y), expected) << x << "," << y;
            ASSERT_EQ(source->Row(y)[x], before) << "source untouched";
        }
    }
    // The mapping runs without the sink; the sink hears the text and the end.
    EXPECT_EQ(ProgressCalls(applied.progress->Events()), "SetText HSL;Finish true;");
}

TEST(ColorBalanceFilter, OnlyTheExactHslSelectsTheHslMode)
{
    auto source = MakeImage(4, 3, MixedPixel);
    for (const char16_t* format : {u"active:hsl\nred:50\ngreen:100\nblue:100\nhue:120\n",
                                   u"active:HSL \nred:50\ngreen:100\nblue:100\nhue:120\n",
                                   u"active:Hsl\nred:50\ngreen:100\nblue:100\nhue:120\n"}) {
        const Applied applied = ApplyWith(source.Get(), format);
        ASSERT_TRUE(applied.succeeded);
        const uint32_t before = MixedPixel(2, 1);
        EXPECT_EQ(applied.Pixel(2, 1), (before & 0xFF00FFFFu) |
                                           static_cast<uint32_t>(reference::GainEntry(before >> 16 & 0xFF, 50)) << 16);
    }
}

TEST(ColorBalanceFilter, RgbModeRefusesWithoutAllThreeGains)
{
    auto source = MakeImage(3, 2, MixedPixel);
    for (const char16_t* format : {u"", u"active:RGB\ngreen:100\nblue:100\n", u"red:100\nblue:100\n",
                                   u"active:RGB\nred:100\ngreen:100\nhue:3\n"}) {
        const Applied applied = ApplyWith(source.Get(), format);
        EXPECT_FALSE(applied.succeeded);
        EXPECT_EQ(applied.code, 6);
        EXPECT_FALSE(applied.result);
        // Refused after the text was shown; the sink is not told the work ended.
        EXPECT_EQ(ProgressCalls(applied.progress->Events()), "SetText HSL;");
    }
}

TEST(ColorBalanceFilter, HslModeConvertsEveryPixelAndClearsTheFourthByte)
{
    auto source = MakeImage(19, 6, MixedPixel);
    const Applied applied = ApplyWith(source.Get(), u"active:HSL\nhue:-42.5\nsaturation:1.4\nlightness:0.85\n");
    ASSERT_TRUE(applied.succeeded);
    for (int y = 0; y < 6; ++y) {
        for (int x = 0; x < 19; ++x) {
            ASSERT_EQ(applied.Pixel(x, y), reference::HslPixel(MixedPixel(x, y), -42.5, 1.4, 0.85)) << x << "," << y;
        }
    }
    EXPECT_EQ(ProgressCalls(applied.progress->Events()), "SetText HSL;" + StepCalls(0, 5, 6) + "Finish true;");
}

TEST(ColorBalanceFilter, HslKeysThatAreMissingTakeOne)
{
    auto source = MakeImage(9, 4, MixedPixel);
    struct Case {
        const char16_t* format;
        double hue, saturation, lightness;
    };
    for (const Case& c : {Case{u"active:HSL\n", 1, 1, 1}, Case{u"active:HSL\nhue:0\n", 0, 1, 1},
                          Case{u"active:HSL\nsaturation:0.5\n", 1, 0.5, 1},
                          Case{u"active:HSL\nhue:10\nsaturation:0\n", 10, 0, 1},
                          Case{u"active:HSL\nlightness:1.5\nred:3\n", 1, 1, 1.5}}) {
        const Applied applied = ApplyWith(source.Get(), c.format);
        ASSERT_TRUE(applied.succeeded);
        for (int y = 0; y < 4; ++y) {
            for (int x = 0; x < 9; ++x) {
                ASSERT_EQ(applied.Pixel(x, y), reference::HslPixel(MixedPixel(x, y), c.hue, c.saturation, c.lightness));
            }
        }
    }
}

TEST(ColorBalanceFilter, StoppedHslModeIsStatus8)
{
    auto source = MakeImage(5, 4, MixedPixel);
    const Applied applied = ApplyWith(source.Get(), u"active:HSL\nhue:20\n", 2);
    EXPECT_FALSE(applied.succeeded);
    EXPECT_EQ(applied.code, 8);
    EXPECT_FALSE(applied.result);
    EXPECT_EQ(ProgressCalls(applied.progress->Events()), "SetText HSL;" + StepCalls(0, 2, 4) + "Finish false;");
    EXPECT_EQ(source->Row(0)[0], MixedPixel(0, 0));
}

TEST(ColorBalanceFilter, RefusalsOfTheCallAndTheCopy)
{
    auto source = MakeImage(3, 3, MixedPixel);
    constexpr int kNever = CRecordingProgress::kNeverCancel;
    for (const char16_t* format : {u"active:HSL\n", u"red:100\ngreen:100\nblue:100\n"}) {
        auto filter = CreateInteractiveFilter(FactoryOf<CColorBalanceFactory>(), static_cast<IImage*>(source.Get()), format);
        for (const auto& refusing : CloneRefusingSources(3, 3)) {
            const FailedApply failed = ApplyExpectingFailure(filter.Get(), static_cast<IImage*>(refusing.Get()), kNever);
            EXPECT_EQ(failed.code, 6);
            EXPECT_FALSE(failed.storedResult);
            EXPECT_TRUE(failed.events.empty()) << "refused before the text";
        }
    }
}

TEST(ColorBalanceFilter, AppliesToTheImageItIsGiven)
{
    auto source = MakeImage(3, 3, MixedPixel);
    auto other = MakeImage(2, 2, [](int, int) { return Rgb(255, 3, 130, 0x42); });
    auto filter = CreateInteractiveFilter(FactoryOf<CColorBalanceFactory>(), static_cast<IImage*>(source.Get()),
                                          u"active:RGB\nred:50\ngreen:50\nblue:200\n");
    CComPtr<IImage> result;
    ASSERT_TRUE(filter->Apply(static_cast<IImage*>(other.Get()), result.Receive(), nullptr, nullptr));
    EXPECT_EQ(SizeOf(result.Get()), std::pair(2, 2));
    EXPECT_EQ(reinterpret_cast<const uint32_t*>(result->GetPixels())[3], Rgb(128, 2, 255, 0x42));
}
