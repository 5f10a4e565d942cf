#include "filters/frames/FrameBlend.h"

#include "filters/shared/channel-tables/ChannelMapper.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace {

// NaN cannot reach here from valid opacities, but a clamp before the cast keeps an
// out-of-range product from being undefined behaviour. Written without branches, so
// that the tables' loops run several levels at a time.
uint32_t Level(double value)
{
    return static_cast<uint32_t>(value > 0.0 ? std::min(value, 255.0) : 0.0);
}

// One channel's blend: the picture's share of its level plus the colour's part.
uint32_t Mixed(uint32_t level, double share, double colorPart)
{
    return Level(level * share + colorPart);
}

uint32_t Channel(uint32_t pixel, int shift)
{
    return pixel >> shift & 0xFF;
}

void FillChannel(uint8_t* table, double share, double colorPart)
{
    for (uint32_t level = 0; level < 256; ++level) table[level] = static_cast<uint8_t>(Mixed(level, share, colorPart));
}

FrameColor TimesEach(const FrameColor& color, double factor)
{
    return {color.red * factor, color.green * factor, color.blue * factor};
}

} // namespace

FrameColor FrameColorOf(uint32_t value)
{
    return {static_cast<double>(value & 0xFF), static_cast<double>(value >> 8 & 0xFF),
            static_cast<double>(value >> 16 & 0xFF)};
}

uint32_t BlendFramePixel(uint32_t pixel, const FrameColor& color, double opacity)
{
    return FadedPixel(pixel, 1.0 - opacity, TimesEach(color, opacity));
}

uint32_t FadeFramePixel(uint32_t pixel, const FrameColor& color, double weight)
{
    return FadedPixel(pixel, weight, TimesEach(color, 1 - weight));
}

uint32_t FadedPixel(uint32_t pixel, double weight, const FrameColor& colorPart)
{
    return Mixed(Channel(pixel, 16), weight, colorPart.red) << 16 | Mixed(Channel(pixel, 8), weight, colorPart.green) << 8 |
           Mixed(Channel(pixel, 0), weight, colorPart.blue);
}

// Each channel's table runs the pixel rules' own blend over the 256 levels, so the
// table and the rules cannot drift apart.
CFrameBlendTable CFrameBlendTable::Mixing(double share, const FrameColor& colorPart)
{
    uint8_t red[256];
    uint8_t green[256];
    uint8_t blue[256];
    FillChannel(red, share, colorPart.red);
    FillChannel(green, share, colorPart.green);
    FillChannel(blue, share, colorPart.blue);
    return CFrameBlendTable(ChannelTables{red, green, blue});
}

CFrameBlendTable::CFrameBlendTable(const ChannelTables& tables) : m_tables(tables), m_vector(ChannelMappingChoosesAvx2())
{
    m_tables.keptFourth = 0;
}

CFrameBlendTable CFrameBlendTable::Covering(const FrameColor& color, double opacity)
{
    return Mixing(1.0 - opacity, TimesEach(color, opacity));
}

void CFrameBlendTable::Blend(uint32_t* pixels, int count) const
{
    auto* bytes = reinterpret_cast<uint8_t*>(pixels);
    if (m_vector) {
        MapChannelRowAvx2(bytes, count, m_tables);
    } else {
        MapChannelRowPortable(bytes, count, m_tables);
    }
}

void BlendFrameSpan(uint32_t* row, int from, int to, const CFrameBlendTable& table)
{
    if (from < to) table.Blend(row + from, to - from);
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
