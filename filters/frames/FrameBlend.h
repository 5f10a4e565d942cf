#pragma once
// How a frame colour covers a pixel. Both rules keep the arithmetic in double and in
// the order written, since reordering the products changes the last bit of many
// pixels; both write the fourth byte as 0.

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

// Blends pixels from .. to - 1 of row at opacity; an empty span does nothing.
void BlendFrameSpan(uint32_t* row, int from, int to, const FrameColor& color, double opacity);

// A band thickness in pixels: percent of half the shorter side, in double, left to
// right, so that 100 covers half of it exactly and the fraction is dropped.
int FrameThickness(int width, int height, int percent);
