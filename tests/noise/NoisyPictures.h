#pragma once
// Grey pictures with noise of known strength: each channel of each pixel is 128 plus
// a whole number drawn uniformly from -k to k, whose variance is k (k + 1) / 3. The
// upper and the lower part of the picture (as a person sees it) may differ.

#include "tests/TestSupport.h"

#include <array>
#include <cstdint>

namespace noise_test {

// Half widths of the noise of red, green and blue.
using ChannelSpread = std::array<int, 3>;

inline double UniformVariance(int halfWidth)
{
    return halfWidth * (halfWidth + 1) / 3.0;
}

// upper holds for the picture rows above upperRows (counted from the top), lower for
// the rest; the fourth byte is 0xFF.
inline CComPtr<CHostImage> NoisyGrey(int width, int height, ChannelSpread upper, ChannelSpread lower, int upperRows)
{
    uint32_t state = 2463534242u;
    const auto draw = [&state](int halfWidth) {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return static_cast<int>(state % static_cast<uint32_t>(2 * halfWidth + 1)) - halfWidth;
    };
    return MakeImage(width, height, [&](int, int y) {
        const bool isUpper = height - 1 - y < upperRows;
        const ChannelSpread& spread = isUpper ? upper : lower;
        const int red = 128 + draw(spread[0]);
        const int green = 128 + draw(spread[1]);
        const int blue = 128 + draw(spread[2]);
        return 0xFF000000u | static_cast<uint32_t>(red) << 16 | static_cast<uint32_t>(green) << 8 |
               static_cast<uint32_t>(blue);
    });
}

inline CComPtr<CHostImage> NoisyGrey(int width, int height, ChannelSpread spread)
{
    return NoisyGrey(width, height, spread, spread, height);
}

// The variance of one channel (0 blue, 1 green, 2 red in the pixel's bytes) about 128.
inline double VarianceAboutGrey(CHostImage* image, int byte)
{
    double sum = 0.0;
    for (int y = 0; y < image->Height(); ++y) {
        const auto* bytes = reinterpret_cast<const uint8_t*>(image->Row(y));
        for (int x = 0; x < image->Width(); ++x) {
            const double d = bytes[4 * x + byte] - 128.0;
            sum += d * d;
        }
    }
    return sum / (static_cast<double>(image->Width()) * image->Height());
}

} // namespace noise_test
