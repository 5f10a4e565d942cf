#pragma once
// Colours as settings carry them (0x00BBGGRR, red in the low byte) and as pixels are
// stored (blue, green, red, fourth byte): the first and third bytes trade places.

#include <cstdint>

inline constexpr uint32_t PixelOfColorValue(uint32_t color)
{
    return (color & 0xFF00FF00u) | (color & 0xFFu) << 16 | (color >> 16 & 0xFFu);
}
