#pragma once
// Small pictures for the hot pixel tests: packed 32-bit rows, row 0 at the bottom.

#include "filters/shared/pixels/PixelRows.h"

#include <cstdint>
#include <vector>

namespace hot_pixel_pictures {

constexpr uint32_t Rgb(uint32_t red, uint32_t green, uint32_t blue)
{
    return (red << 16) | (green << 8) | blue;
}

constexpr uint32_t Grey(uint32_t level)
{
    return Rgb(level, level, level);
}

constexpr uint32_t kWhite = Grey(255);

// The pixel's key: its mean (R + G + B + 2) / 3 in the fourth byte.
constexpr uint32_t Keyed(uint32_t pixel)
{
    const uint32_t rgb = pixel & 0x00FFFFFFu;
    return ((((rgb >> 16) & 0xFF) + ((rgb >> 8) & 0xFF) + (rgb & 0xFF) + 2) / 3) << 24 | rgb;
}

struct Picture {
    Picture(int w, int h, uint32_t fill) : width(w), height(h), pixels(static_cast<size_t>(w) * h, fill) {}

    uint32_t& At(int x, int y) { return pixels[static_cast<size_t>(y) * width + x]; }
    uint32_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
    PixelRows Rows() { return {reinterpret_cast<uint8_t*>(pixels.data()), ptrdiff_t{4} * width, width, height}; }
    // Every pixel replaced by its key, as the detection and the repair see it.
    Picture Keys() const
    {
        Picture keyed = *this;
        for (uint32_t& pixel : keyed.pixels) pixel = Keyed(pixel);
        return keyed;
    }

    int width;
    int height;
    std::vector<uint32_t> pixels;
};

} // namespace hot_pixel_pictures
