#include "filters/color-balance/ColorBalanceKernels.h"
#include "filters/shared/parallel/RowBands.h"

#include "platform/CpuFeatures.h"

#include <algorithm>

// Every formula below is evaluated in the order it is written, left to right in
// double: a rearranged but equal form moves the truncated levels by one now and then.

namespace {

// 1 / 255 as the literal the levels are scaled with; its product with 255 lies just
// below 1, so that even neutral settings can lower a level by one.
constexpr double kLevelToUnit = 0.00392156862745098;
constexpr double kFullCircle = 360.0;

// The hue circle in sixths, each side of the colour hexagon starting from the
// channel that is largest.
double HueSixths(double red, double green, double blue, double largest, double smallest)
{
    const double span = largest - smallest;
    const double redC = (largest - red) / span;
    const double greenC = (largest - green) / span;
    const double blueC = (largest - blue) / span;
    if (red == largest) return green == smallest ? blueC + 1 : 3 - greenC;
    if (green == largest) return blue == smallest ? redC + 3 : 5 - blueC;
    return red == smallest ? greenC + 5 : 1 - redC;
}

// One channel of the way back, x degrees round the circle from the channel's start.
double HueChannel(double m1, double m2, double x)
{
    if (x > kFullCircle) x = x - kFullCircle;
    if (x < 60) return m1 + (m2 - m1) * x / 60;
    if (x < 180) return m2;
    if (x < 240) return m1 + (m2 - m1) * (240 - x) / 60;
    return m1;
}

// 1 when the product is 1 or more, 0 when it is negative.
double UnitClamped(double value)
{
    if (value >= 1.0) return 1.0;
    if (value < 0.0) return 0.0;
    return value;
}

// Clamped, then truncated; a value that is no number (from a text such as "nan")
// counts as 0 rather than reaching the conversion.
uint32_t LevelOf(double unit)
{
    const double scaled = unit * 255;
    if (!(scaled > 0.0)) return 0;
    if (scaled >= 255.0) return 255;
    return static_cast<uint32_t>(scaled);
}

} // namespace

HslColor RgbToHsl(double red, double green, double blue)
{
    const double largest = std::max({red, green, blue});
    const double smallest = std::min({red, green, blue});
    HslColor color;
    color.lightness = 0.5 * (largest + smallest);
    if (largest == smallest) return color;
    color.saturation = color.lightness <= 0.5 ? (largest - smallest) / (largest + smallest)
                                              : (largest - smallest) / (2 - largest - smallest);
    const double sixths = HueSixths(red, green, blue, largest, smallest);
    color.hue = sixths >= 6 ? 0.0 : 60 * sixths;
    return color;
}

void HslToRgb(const HslColor& color, double& red, double& green, double& blue)
{
    const double l = color.lightness;
    const double s = color.saturation;
    const double m2 = l <= 0.5 ? l * (1 + s) : l + s - l * s;
    const double m1 = 2 * l - m2;
    if (s <= 0) {
        red = green = blue = l;
        return;
    }
    red = HueChannel(m1, m2, color.hue);
    green = HueChannel(m1, m2, color.hue + 240);
    blue = HueChannel(m1, m2, color.hue + 120);
}

uint32_t AdjustPixelHsl(uint32_t pixel, const HslAdjustment& adjustment)
{
    HslColor color = RgbToHsl(static_cast<double>(pixel >> 16 & 0xFFu) * kLevelToUnit,
                              static_cast<double>(pixel >> 8 & 0xFFu) * kLevelToUnit,
                              static_cast<double>(pixel & 0xFFu) * kLevelToUnit);
    // One correction each way: the rotation is at most a full turn.
    color.hue = color.hue + adjustment.hue;
    if (color.hue > kFullCircle) color.hue -= kFullCircle;
    if (color.hue < 0) color.hue += kFullCircle;
    color.saturation = UnitClamped(color.saturation * adjustment.saturation);
    color.lightness = UnitClamped(color.lightness * adjustment.lightness);
    double red = 0.0;
    double green = 0.0;
    double blue = 0.0;
    HslToRgb(color, red, green, blue);
    return LevelOf(red) << 16 | LevelOf(green) << 8 | LevelOf(blue);
}

void AdjustHslRowPortable(uint32_t* pixels, int count, const HslAdjustment& adjustment)
{
    for (int x = 0; x < count; ++x) pixels[x] = AdjustPixelHsl(pixels[x], adjustment);
}

HslRowLoop ChosenHslRowLoop()
{
    static const HslRowLoop loop = CpuHasAvx2() ? &AdjustHslRowAvx2 : &AdjustHslRowPortable;
    return loop;
}

bool AdjustHslRows(const PixelRows& rows, const HslAdjustment& adjustment, const UnitReport& report)
{
    return AdjustHslRowsWith(rows, adjustment, report, ChosenHslRowLoop());
}

bool AdjustHslRowsWith(const PixelRows& rows, const HslAdjustment& adjustment, const UnitReport& report,
                       HslRowLoop loop)
{
    return ForEachRowBand(rows.height, report, [&](int first, int last) {
        for (int y = first; y < last; ++y) loop(rows.Row(y), rows.width, adjustment);
    });
}
