#pragma once
// The transfer table of brightness and contrast: a line through level 128 with the
// contrast as slope, shifted by the brightness.

#include <cstdint>

inline constexpr double kDefaultBrightness = 0.0;
inline constexpr double kDefaultContrast = 1.0;

void BuildBrightnessContrastTable(double brightness, double contrast, uint8_t table[256]);
