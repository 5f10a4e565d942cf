#pragma once
// How a frame colour covers a pixel. Both rules keep the arithmetic in double and in
// the order written, since reordering the products changes the last bit of many
// pixels; both write the fourth byte as 0.

#include "filters/shared/channel-tables/ChannelTables.h"

#include <cstdint>

// A frame colour split from its colour value (0x00BBGGRR, red in the low byte).
struct FrameColor {
    double red;
    double green;
    double blue;
};

FrameColor FrameColorOf(uint32_t value);

// Each channel becomes trunc(channel * (1 - opacity) + colour * opacity), clamped.
uint32_t BlendFramePixel(uint32_t pixel, const FrameColor& color, double opacity);

// Each channel becomes trunc(channel * weight + colour * (1 - weight)), clamped: the
// fading frame keeps a share of the image rather than laying on a share of colour.
uint32_t FadeFramePixel(uint32_t pixel, const FrameColor& color, double weight);
// The same with the colour's part of each channel, colour x (1 - weight), given.
uint32_t FadedPixel(uint32_t pixel, double weight, const FrameColor& colorPart);

// One blend of fixed colour and opacity as three tables over the 256
// levels of a channel, filled by the pixel rules above: a span of pixels then goes
// through the channel-table mapping (vectorised where the processor allows) and
// gives the same bits.
class CFrameBlendTable {
public:
    static CFrameBlendTable Covering(const FrameColor& color, double opacity);

    // The pixels mapped, their fourth byte 0.
    void Blend(uint32_t* pixels, int count) const;

private:
    explicit CFrameBlendTable(const ChannelTables& tables);

    static CFrameBlendTable Mixing(double share, const FrameColor& colorPart);

    PreparedChannelTables m_tables;
    bool m_vector;
};

// Blends pixels from .. to - 1 of row; an empty span does nothing.
void BlendFrameSpan(uint32_t* row, int from, int to, const CFrameBlendTable& table);

// A double truncated toward zero into an int: values beyond its range saturate and
// NaN gives 0, so typed settings far outside the panels' ranges stay defined.
int SaturatedInt(double value);

// A band thickness in pixels: percent of half the shorter side, in double, left to
// right, so that 100 covers half of it exactly and the fraction is dropped.
int FrameThickness(int width, int height, int percent);

// A band width held in 0 .. the longer side: a band at least that wide covers the
// same pixels as the picture and a negative one none, and the edge sums stay in range.
int HeldBand(int64_t band, int width, int height);
