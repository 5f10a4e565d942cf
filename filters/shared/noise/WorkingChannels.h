#pragma once
// The three channels the noise engine measures and smooths, and the single value per
// pixel that decides which estimator blocks are usable. Either the colour channels
// as they are (red, green, blue), or a luma with two colour differences, so that a
// picture's grain, which sits mostly in its brightness, can be smoothed apart from
// its colour. Both ways run in integers, so a pixel converts the same everywhere.

#include <algorithm>
#include <cstdint>

struct WorkingTriple {
    int first = 0;
    int second = 0;
    int third = 0;
};

inline constexpr int RedOf(uint32_t pixel) { return static_cast<int>(pixel >> 16 & 0xFF); }
inline constexpr int GreenOf(uint32_t pixel) { return static_cast<int>(pixel >> 8 & 0xFF); }
inline constexpr int BlueOf(uint32_t pixel) { return static_cast<int>(pixel & 0xFF); }

// The weights add up to 1024, so white keeps 255; the colour differences span
// -127 to 128. Shifts of negative sums round toward minus infinity (C++20).
inline constexpr int LumaOfColours(int red, int green, int blue)
{
    return (601 * green + 306 * red + 117 * blue + 512) >> 10;
}

inline constexpr WorkingTriple LumaAndDifferencesOf(uint32_t pixel)
{
    const int red = RedOf(pixel);
    const int green = GreenOf(pixel);
    const int blue = BlueOf(pixel);
    return {LumaOfColours(red, green, blue), ((red + 1) * 512 - 428 * green - 84 * blue) >> 10,
            ((blue + 1) * 512 - 339 * green - 173 * red) >> 10};
}

inline constexpr WorkingTriple ColoursOf(uint32_t pixel) { return {RedOf(pixel), GreenOf(pixel), BlueOf(pixel)}; }

inline constexpr int ClampToByte(int value) { return std::clamp(value, 0, 255); }

// The fourth byte of a written pixel is 0.
inline constexpr uint32_t PixelOfColours(int red, int green, int blue)
{
    return static_cast<uint32_t>(ClampToByte(red)) << 16 | static_cast<uint32_t>(ClampToByte(green)) << 8 |
           static_cast<uint32_t>(ClampToByte(blue));
}

// Green comes from the luma less the red and blue just found, before any of the
// three is clamped: a value pushed outside the colour range still moves green the way
// the luma asks. The inputs may lie far outside the channels' ranges (a negative
// level amplifies), so the products are taken in 64 bits.
inline constexpr uint32_t PixelOfLumaAndDifferences(int64_t luma, int64_t first, int64_t second)
{
    const int64_t red = (1436 * first + 1024 * luma + 512) >> 10;
    const int64_t blue = (1814 * second + 1024 * luma + 512) >> 10;
    const int64_t green = (1746 * luma - 522 * red - 200 * blue + 512) >> 10;
    const auto clamped = [](int64_t value) { return static_cast<int>(std::clamp<int64_t>(value, 0, 255)); };
    return PixelOfColours(clamped(red), clamped(green), clamped(blue));
}

// What an estimator block measures of each pixel, by mode: 1 the luma, 2 the largest
// colour, 3 the middle of the smallest and largest, any other the mean of the three.
inline constexpr int LumaOfPixel(uint32_t pixel) { return LumaOfColours(RedOf(pixel), GreenOf(pixel), BlueOf(pixel)); }

inline constexpr int LargestColourOf(uint32_t pixel)
{
    return std::max(std::max(RedOf(pixel), GreenOf(pixel)), BlueOf(pixel));
}

inline constexpr int MiddleOfExtremesOf(uint32_t pixel)
{
    const int smallest = std::min(std::min(RedOf(pixel), GreenOf(pixel)), BlueOf(pixel));
    return (smallest + LargestColourOf(pixel) + 1) >> 1;
}

inline constexpr int MeanColourOf(uint32_t pixel) { return (RedOf(pixel) + GreenOf(pixel) + BlueOf(pixel) + 1) / 3; }

inline constexpr int BlockValueOf(uint32_t pixel, int mode)
{
    switch (mode) {
    case 1:
        return LumaOfPixel(pixel);
    case 2:
        return LargestColourOf(pixel);
    case 3:
        return MiddleOfExtremesOf(pixel);
    default:
        return MeanColourOf(pixel);
    }
}

// One row of the three working channels, a plane of width values each.
struct WorkingRow {
    int16_t* channel[3];
};

// Converts width pixels to working channels: the luma and differences when luma is
// set, else red, green and blue.
void ConvertToWorkingRow(const uint32_t* pixels, int width, bool luma, const WorkingRow& out);

// The block value of each of width pixels, by mode as BlockValueOf.
void BlockValuesOfRow(const uint32_t* pixels, int width, int mode, int16_t* out);
