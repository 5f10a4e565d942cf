#pragma once
// Colour balance's HSL mode, pixel by pixel: RGB to hue, saturation and lightness,
// the three adjustments, and back. Pure arithmetic over pixel rows.

#include "filters/shared/pixels/PixelRows.h"

#include <cstdint>

// Hue in degrees from 0 to below 360 with pure blue at 0, magenta 60, red 120,
// yellow 180, green 240, cyan 300; saturation and lightness from 0 to 1.
struct HslColor {
    double hue = 0.0;
    double saturation = 0.0;
    double lightness = 0.0;
};

// Channels from 0 to 1. A grey has saturation 0 and hue 0.
HslColor RgbToHsl(double red, double green, double blue);
void HslToRgb(const HslColor& color, double& red, double& green, double& blue);

// Each is 1.0 until the settings say otherwise: a text without "hue" turns the hue by
// one degree.
struct HslAdjustment {
    double hue = 1.0;         // degrees added
    double saturation = 1.0;  // factor
    double lightness = 1.0;   // factor
};

// One pixel (blue, green, red, fourth byte) adjusted; the fourth byte becomes 0.
uint32_t AdjustPixelHsl(uint32_t pixel, const HslAdjustment& adjustment);

// One row's pixels adjusted in place. The portable loop defines the bits; the AVX2 one
// gives the same and may only run where the processor has AVX2 (platform/CpuFeatures.h).
using HslRowLoop = void (*)(uint32_t* pixels, int count, const HslAdjustment& adjustment);
void AdjustHslRowPortable(uint32_t* pixels, int count, const HslAdjustment& adjustment);
void AdjustHslRowAvx2(uint32_t* pixels, int count, const HslAdjustment& adjustment);

// AVX2 where the processor has it, unless portable code is forced; chosen once.
HslRowLoop ChosenHslRowLoop();

// Row by row with the chosen loop, each reported before it is converted; false when
// report stops it, the rows before converted.
bool AdjustHslRows(const PixelRows& rows, const HslAdjustment& adjustment, const UnitReport& report);

// The same with the given loop, for tests and benchmarks that compare the loops.
bool AdjustHslRowsWith(const PixelRows& rows, const HslAdjustment& adjustment, const UnitReport& report,
                       HslRowLoop loop);
