#pragma once
// Colour balance's two modes as their rules read, written out plainly for the tests:
// one gain table entry, and one pixel of the HSL mode in a single function.

#include <algorithm>
#include <cstdint>

namespace color_balance_reference {

// Entry level of the table for a gain in percent: the clamped product rounded half up.
inline int GainEntry(int level, int percent)
{
    const double f = percent / 100.0;
    double x = level * f;
    if (x < 0) x = 0;
    if (x > 255) x = 255;
    return static_cast<int>(x + 0.5);
}

inline double HueValue(double m1, double m2, double x)
{
    if (x > 360) x = x - 360;
    if (x < 60) return m1 + (m2 - m1) * x / 60;
    if (x < 180) return m2;
    if (x < 240) return m1 + (m2 - m1) * (240 - x) / 60;
    return m1;
}

inline int Channel(double x)
{
    double v = x * 255;
    if (v < 0) v = 0;
    if (v > 255) v = 255;
    return static_cast<int>(v);
}

// One pixel (blue in bits 0 to 7, green 8 to 15, red 16 to 23) of the HSL mode.
inline uint32_t HslPixel(uint32_t pixel, double hue, double saturation, double lightness)
{
    const double k = 0.00392156862745098;
    const double r = static_cast<double>(pixel >> 16 & 0xFF) * k;
    const double g = static_cast<double>(pixel >> 8 & 0xFF) * k;
    const double b = static_cast<double>(pixel & 0xFF) * k;
    const double max = std::max(r, std::max(g, b));
    const double min = std::min(r, std::min(g, b));
    double l = 0.5 * (max + min);
    double s = 0;
    double h = 0;
    if (max != min) {
        s = l <= 0.5 ? (max - min) / (max + min) : (max - min) / (2 - max - min);
        const double rc = (max - r) / (max - min);
        const double gc = (max - g) / (max - min);
        const double bc = (max - b) / (max - min);
        if (r == max) h = g == min ? bc + 1 : 3 - gc;
        else if (g == max) h = b == min ? rc + 3 : 5 - bc;
        else h = r == min ? gc + 5 : 1 - rc;
        if (h >= 6) h = 0;
        else h = 60 * h;
    }
    h = h + hue;
    if (h > 360) h -= 360;
    if (h < 0) h += 360;
    s = s * saturation;
    s = s >= 1 ? 1 : (s < 0 ? 0 : s);
    l = l * lightness;
    l = l >= 1 ? 1 : (l < 0 ? 0 : l);
    const double m2 = l <= 0.5 ? l * (1 + s) : l + s - l * s;
    const double m1 = 2 * l - m2;
    double outR = l;
    double outG = l;
    double outB = l;
    if (s > 0) {
        outR = HueValue(m1, m2, h);
        outG = HueValue(m1, m2, h + 240);
        outB = HueValue(m1, m2, h + 120);
    }
    return static_cast<uint32_t>(Channel(outR)) << 16 | static_cast<uint32_t>(Channel(outG)) << 8 |
           static_cast<uint32_t>(Channel(outB));
}

} // namespace color_balance_reference
