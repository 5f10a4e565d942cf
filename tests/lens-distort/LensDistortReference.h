#pragma once
// Lens distortion worked plainly from the rules, one output pixel at a time, for the
// tests to hold the filter to: pictures are vectors of 32-bit pixels, row 0 the
// bottom, and every step is spelt out as the rules give it.

#include <cmath>
#include <cstdint>
#include <vector>

namespace lens_reference {

struct Picture {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;  // row by row from the bottom

    uint32_t At(int x, int y) const
    {
        if (x < 0 || x >= width || y < 0 || y >= height) return 0;
        return pixels[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)];
    }
};

inline uint32_t DistortedPixel(const Picture& source, int width, int height, double k, int x, int y)
{
    const int cx = width / 2;
    const int cy = height / 2;
    const double bigR = (width < height ? width : height) * 0.5;
    const double dx = x - cx;
    const double dy = y - cy;
    const double r = std::sqrt(dx * dx + dy * dy);
    if (r <= 0.1) return source.At(x, y);
    const double n = r / bigR;
    const double rPrime = bigR * (n * n * n * k + n);
    const double sx = dx / r * rPrime + cx;
    const double sy = dy / r * rPrime + cy;
    const double fx0 = std::floor(sx);
    const double fy0 = std::floor(sy);
    // Beyond a few pixels outside, every neighbour reads 0.
    if (fx0 < -2.0 || fx0 > width + 2.0 || fy0 < -2.0 || fy0 > height + 2.0) return 0;
    const int x0 = static_cast<int>(fx0);
    const int y0 = static_cast<int>(fy0);
    const double fx = sx - x0;
    const double fy = sy - y0;
    const uint32_t corners[4] = {source.At(x0, y0), source.At(x0, y0 + 1), source.At(x0 + 1, y0),
                                 source.At(x0 + 1, y0 + 1)};
    const double weights[4] = {(1 - fx) * (1 - fy), (1 - fx) * fy, fx * (1 - fy), fx * fy};
    uint32_t out = 0;
    for (int byte = 0; byte < 3; ++byte) {
        double sum = 0.0;
        for (int i = 0; i < 4; ++i) sum = sum + static_cast<double>((corners[i] >> (8 * byte)) & 0xFFu) * weights[i];
        if (sum < 0.0) sum = 0.0;
        if (sum > 255.0) sum = 255.0;
        out |= static_cast<uint32_t>(std::lrint(sum)) << (8 * byte);
    }
    return out;
}

inline Picture Distorted(const Picture& source, double k)
{
    Picture out{source.width, source.height, std::vector<uint32_t>(source.pixels.size())};
    for (int y = 0; y < source.height; ++y) {
        for (int x = 0; x < source.width; ++x)
            out.pixels[static_cast<size_t>(y) * static_cast<size_t>(source.width) + static_cast<size_t>(x)] =
                DistortedPixel(source, source.width, source.height, k, x, y);
    }
    return out;
}

} // namespace lens_reference
