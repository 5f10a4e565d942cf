#pragma once
// The transfer table of brightness and contrast: a line through level 128 with the
// contrast as slope, shifted by the brightness.

#include <cstdint>

void BuildBrightnessContrastTable(double brightness, double contrast, uint8_t table[256]);
