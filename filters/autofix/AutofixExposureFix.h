#pragma once
// The exposure fix: the luminance levels between where the histogram rises above a
// hundredth of its third-highest count and where it falls below it again are
// stretched over 0..255, equally in red, green and blue.

#include "host/HostInterfaces.h"

#include <cstdint>

struct ExposureFixLimits {
    int left;   // maps to 0
    int right;  // maps to 255; always above left
};

// From the 256 luminance counts: the first level from 0 that reaches the threshold
// (254 when none below 254 does), and the last from 255 down that reaches it, kept
// at least one level above left.
ExposureFixLimits FindExposureFixLimits(const uint32_t* luminance);

// The stretch of the limits: entry i = i x M + B truncated into 0..255, with
// M = 255 / (right - left) and B = -left x M.
void BuildExposureFixTable(const uint32_t* luminance, uint8_t table[256]);

// Counts the working image's levels, then maps it through the table; progress (may
// be null) gets both passes and is told the outcome.
bool FixExposure(IImage* working, IProgress* progress);
