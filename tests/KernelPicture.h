#pragma once
// Pixels in memory as the kernels take them, row 0 first. Rows may carry spare
// pixels after them, holding the fill like the rest at the start, so that a loop
// running past its row shows.

#include "filters/shared/pixels/PixelRows.h"

#include <cstddef>
#include <cstdint>
#include <random>
#include <vector>

struct KernelPicture {
    KernelPicture(int w, int h, uint32_t fill = 0, int spare = 0)
        : width(w), height(h), stride(w + spare), pixels(static_cast<size_t>(stride) * static_cast<size_t>(h), fill)
    {
    }

    // Every pixel drawn in row order; the spare ones keep the fill.
    static KernelPicture Random(int w, int h, unsigned seed, uint32_t fill = 0, int spare = 0)
    {
        std::mt19937 random(seed);
        KernelPicture picture(w, h, fill, spare);
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) picture.At(x, y) = static_cast<uint32_t>(random());
        }
        return picture;
    }

    uint32_t& At(int x, int y) { return pixels[static_cast<size_t>(y) * stride + x]; }
    uint32_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * stride + x]; }
    PixelRows Rows() { return {reinterpret_cast<uint8_t*>(pixels.data()), ptrdiff_t{4} * stride, width, height}; }

    int width;
    int height;
    int stride;  // in pixels
    std::vector<uint32_t> pixels;
};
