#pragma once
// The blur and merge rules of Sharpen written out plainly, one pixel and one channel
// at a time, to hold the fast passes against.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <vector>

struct ReferencePicture {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;  // [y * width + x]

    uint32_t At(int x, int y) const { return pixels[static_cast<size_t>(y * width + x)]; }
};

inline int ChannelOf(uint32_t pixel, int channel)
{
    return static_cast<int>((pixel >> (8 * channel)) & 0xFF);
}

// One pass along x (horizontal) or y. Fixed point: positions outside the picture
// take the nearest edge pixel and the sum is shifted right by 13. Portable: outside
// taps are left out and the sum is divided by the weights that remain.
inline ReferencePicture ReferencePass(const ReferencePicture& in, const std::vector<int32_t>& kernel, bool horizontal,
                                      bool fixedPoint)
{
    ReferencePicture out = in;
    const int centre = static_cast<int>(kernel.size()) / 2;
    const int extent = horizontal ? in.width : in.height;
    for (int y = 0; y < in.height; ++y) {
        for (int x = 0; x < in.width; ++x) {
            uint32_t pixel = 0;
            for (int channel = 0; channel < 3; ++channel) {
                int64_t sum = 0;
                int64_t used = 0;
                for (int i = 0; i < static_cast<int>(kernel.size()); ++i) {
                    int at = (horizontal ? x : y) - centre + i;
                    if (at < 0 || at >= extent) {
                        if (!fixedPoint) continue;
                        at = std::clamp(at, 0, extent - 1);
                    }
                    const int32_t weight = kernel[static_cast<size_t>(i)];
                    sum += int64_t{weight} * ChannelOf(horizontal ? in.At(at, y) : in.At(x, at), channel);
                    used += weight;
                }
                const int64_t value = fixedPoint ? sum / 8192 : sum / used;
                pixel |= static_cast<uint32_t>(std::min<int64_t>(value, 255)) << (8 * channel);
            }
            out.pixels[static_cast<size_t>(y * in.width + x)] = pixel;
        }
    }
    return out;
}

inline ReferencePicture ReferenceBlur(const ReferencePicture& in, const std::vector<int32_t>& kernel, bool fixedPoint)
{
    return ReferencePass(ReferencePass(in, kernel, false, fixedPoint), kernel, true, fixedPoint);
}

inline int ReferenceMerged(int original, int blurred, double amount, int threshold, bool fixedPoint)
{
    int d = original - blurred;
    if (fixedPoint) {
        if (!(2 * std::abs(d) > threshold)) d = 0;
        const int amount32 = static_cast<int>(amount * 32);
        return std::clamp(original + static_cast<int>(std::floor(d * amount32 / 32.0)), 0, 255);
    }
    if (!(2 * std::abs(d) >= threshold)) d = 0;
    return static_cast<int>(std::clamp(original + std::trunc(d * amount), 0.0, 255.0));
}

// Fixed point merges all four bytes; portable keeps the blurred fourth byte.
inline ReferencePicture ReferenceUnsharp(const ReferencePicture& in, const std::vector<int32_t>& kernel, double amount,
                                         int threshold, bool fixedPoint)
{
    ReferencePicture out = ReferenceBlur(in, kernel, fixedPoint);
    for (size_t i = 0; i < out.pixels.size(); ++i) {
        uint32_t merged = fixedPoint ? 0 : out.pixels[i] & 0xFF000000u;
        for (int channel = 0; channel < (fixedPoint ? 4 : 3); ++channel) {
            const int value = ReferenceMerged(ChannelOf(in.pixels[i], channel), ChannelOf(out.pixels[i], channel),
                                              amount, threshold, fixedPoint);
            merged |= static_cast<uint32_t>(value) << (8 * channel);
        }
        out.pixels[i] = merged;
    }
    return out;
}
