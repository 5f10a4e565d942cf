#pragma once
// The median rules written out plainly, to hold the fast engine against: the luma
// as the weighted sum divided out, each window gathered and fully sorted.

#include <algorithm>
#include <cstdint>
#include <vector>

// floor((19584 R + 38464 G + 7488 B) / 65536)
inline uint32_t ReferenceLuma(uint32_t pixel)
{
    const uint64_t sum = 19584u * ((pixel >> 16) & 0xFF) + 38464u * ((pixel >> 8) & 0xFF) + 7488u * (pixel & 0xFF);
    return static_cast<uint32_t>(sum / 65536);
}

inline uint32_t ReferenceKey(uint32_t pixel)
{
    return (pixel & 0x00FFFFFFu) | ReferenceLuma(pixel) << 24;
}

// pixels[y * width + x]; the result holds keys (luma in the fourth byte).
inline std::vector<uint32_t> ReferenceMedian(const std::vector<uint32_t>& pixels, int width, int height, int radius)
{
    const auto key = [&](int x, int y) { return ReferenceKey(pixels[static_cast<size_t>(y * width + x)]); };
    std::vector<uint32_t> out(pixels.size());
    std::vector<uint32_t> window;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            window.clear();
            for (int wy = std::max(0, y - radius); wy <= std::min(height - 1, y + radius); ++wy) {
                for (int wx = std::max(0, x - radius); wx <= std::min(width - 1, x + radius); ++wx) {
                    window.push_back(key(wx, wy));
                }
            }
            std::sort(window.begin(), window.end());
            out[static_cast<size_t>(y * width + x)] = window[window.size() / 2];
        }
    }
    if (radius == 1) {
        // Each corner: the smaller of its own row's larger key and the next row's.
        for (const int x : {0, width - 1}) {
            for (const int y : {0, height - 1}) {
                const int nx = x == 0 ? 1 : x - 1;
                const int ny = y == 0 ? 1 : y - 1;
                out[static_cast<size_t>(y * width + x)] =
                    std::min(std::max(key(x, y), key(nx, y)), std::max(key(x, ny), key(nx, ny)));
            }
        }
    }
    return out;
}
