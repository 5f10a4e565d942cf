#pragma once
// What the frame tests share: the blending rules written out plainly, pictures with
// every channel level in play, and the frame filter made through its factory.

#include "tests/TestSupport.h"

#include "Common/params/ParamList.h"
#include "filters/frames/FramesFactory.h"
#include "plugin/ModuleFactories.h"

#include <cstdint>
#include <vector>

namespace frames_test {

inline int Red(uint32_t pixel) { return static_cast<int>(pixel >> 16 & 0xFF); }
inline int Green(uint32_t pixel) { return static_cast<int>(pixel >> 8 & 0xFF); }
inline int Blue(uint32_t pixel) { return static_cast<int>(pixel & 0xFF); }

inline uint32_t Pixel(int red, int green, int blue, int fourth = 0)
{
    return static_cast<uint32_t>(fourth) << 24 | static_cast<uint32_t>(red) << 16 |
           static_cast<uint32_t>(green) << 8 | static_cast<uint32_t>(blue);
}

// A colour value (red in the low byte) as a stored pixel with the fourth byte 0.
inline uint32_t PixelOfColor(uint32_t value)
{
    return Pixel(static_cast<int>(value & 0xFF), static_cast<int>(value >> 8 & 0xFF),
                 static_cast<int>(value >> 16 & 0xFF));
}

// channel * (1 - a) + colour * a, truncated; levels stay inside 0..255 for opacities
// in 0..1, so no clamp is needed here.
inline uint32_t Covered(uint32_t pixel, uint32_t colorValue, double a)
{
    const auto one = [&](int channel, int color) { return static_cast<int>(channel * (1 - a) + color * a); };
    const uint32_t color = PixelOfColor(colorValue);
    return Pixel(one(Red(pixel), Red(color)), one(Green(pixel), Green(color)), one(Blue(pixel), Blue(color)));
}

// Levels from 0 to 255 spread over the picture and a fourth byte that is never 0,
// so that a cleared fourth byte shows which pixels were blended.
inline uint32_t Busy(int x, int y)
{
    return Pixel((37 * x + 11 * y) & 0xFF, (53 * x + 29 * y + 255) & 0xFF, (17 * x + 71 * y + 128) & 0xFF,
                 ((3 * x + 5 * y) & 0x7F) + 1);
}

inline CComPtr<IInteractiveFilter> FrameFilter(CHostImage* source, const WString& format)
{
    return CreateInteractiveFilter(FactoryOf<CInteractiveFrameFilterFactory>(), static_cast<IImage*>(source),
                                   format.c_str());
}

// The pixels of the filter's result for source and format; empty when the apply fails.
inline std::vector<uint32_t> Framed(CHostImage* source, const WString& format)
{
    CComPtr<IImage> result;
    if (!FrameFilter(source, format)->Apply(nullptr, result.Receive(), nullptr, nullptr)) return {};
    return PixelsOf(static_cast<CHostImage*>(result.Get()));
}

} // namespace frames_test
