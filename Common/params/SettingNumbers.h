#pragma once
// The numbers a parameter text may hold. No dialog writes a value beyond a few
// million (a colour as 0xBBGGRR is the largest), and every filter computes sizes,
// offsets and tables from its numbers; a NaN, an infinity or a number far past
// anything a dialog writes is taken as no value at all, so that each filter treats
// it as it treats a missing key instead of converting it to an integer undefined.

#include <cmath>

inline constexpr double kLargestSettingMagnitude = 1e9;

inline bool IsSettingNumber(double value)
{
    return std::isfinite(value) && std::fabs(value) <= kLargestSettingMagnitude;
}

enum class NumberRead {
    None,     // no number starts there
    Refused,  // a number, but not one a setting may hold
    Read,
};

// Reads an integer like scanf's "%d" (spaces, sign, digits) from an ASCII text and
// moves cursor past it. Refused, the cursor where it may be, when the integer or the
// floating-point number the text starts with is one no setting may hold.
NumberRead ReadSettingInt(const char*& cursor, int& value);

// Reads the leading floating-point number of an ASCII text, in the classic locale.
NumberRead ReadSettingDouble(const char* text, double& value);
