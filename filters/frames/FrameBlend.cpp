#include "filters/frames/FrameBlend.h"

#include <climits>
#include <cmath>

namespace {

// NaN cannot reach here from valid opacities, but a clamp before the cast keeps an
// out-of-range product from being undefined behaviour.
uint32_t Level(double value)
{
    if (!(value > 0.0)) return 0;
    if (value >= 255.0) return 255;
    return static_cast<uint32_t>(value);
}

uint32_t Channel(uint32_t pixel, int shift)
{
    return pixel >> shift & 0xFF;
}

uint32_t Pack(double red, double green, double blue)
{
    return Level(red) << 16 | Level(green) << 8 | Level(blue);
}

} // namespace

FrameColor FrameColorOf(uint32_t value)
{
    return {static_cast<double>(value & 0xFF), static_cast<double>(value >> 8 & 0xFF),
            static_cast<double>(value >> 16 & 0xFF)};
}

uint32_t BlendFramePixel(uint32_t pixel, const FrameColor& color, double opacity)
{
    const double keep = 1.0 - opacity;
    return Pack(Channel(pixel, 16) * keep + color.red * opacity, Channel(pixel, 8) * keep + color.green * opacity,
                Channel(pixel, 0) * keep + color.blue * opacity);
}

uint32_t FadeFramePixel(uint32_t pixel, const FrameColor& color, double weight)
{
    return FadedPixel(pixel, weight, {color.red * (1 - weight), color.green * (1 - weight), color.blue * (1 - weight)});
}

uint32_t FadedPixel(uint32_t pixel, double weight, const FrameColor& colorPart)
{
    return Pack(Channel(pixel, 16) * weight + colorPart.red, Channel(pixel, 8) * weight + colorPart.green,
                Channel(pixel, 0) * weight + colorPart.blue);
}

// Each channel's table comes from the pixel rule applied to a grey of that level, so
// the table and the rule cannot drift apart.
template <class Rule>
CFrameBlendTable CFrameBlendTable::Filled(Rule rule)
{
    CFrameBlendTable table;
    for (uint32_t level = 0; level < 256; ++level) {
        const uint32_t blended = rule(level << 16 | level << 8 | level);
        table.m_red[level] = blended & 0xFF0000;
        table.m_green[level] = blended & 0xFF00;
        table.m_blue[level] = blended & 0xFF;
    }
    return table;
}

CFrameBlendTable CFrameBlendTable::Covering(const FrameColor& color, double opacity)
{
    return Filled([&](uint32_t grey) { return BlendFramePixel(grey, color, opacity); });
}

CFrameBlendTable CFrameBlendTable::Fading(const FrameColor& color, double weight)
{
    return Filled([&](uint32_t grey) { return FadeFramePixel(grey, color, weight); });
}

void BlendFrameSpan(uint32_t* row, int from, int to, const CFrameBlendTable& table)
{
    for (int x = from; x < to; ++x) row[x] = table(row[x]);
}

int SaturatedInt(double value)
{
    if (std::isnan(value)) return 0;
    if (value >= static_cast<double>(INT_MAX)) return INT_MAX;
    if (value <= static_cast<double>(INT_MIN)) return INT_MIN;
    return static_cast<int>(value);
}

int FrameThickness(int width, int height, int percent)
{
    const int shorter = width < height ? width : height;
    return SaturatedInt(shorter / 100.0 * percent * 0.5);
}

int HeldBand(int64_t band, int width, int height)
{
    const int64_t longer = width > height ? width : height;
    return static_cast<int>(band < 0 ? 0 : band > longer ? longer : band);
}
