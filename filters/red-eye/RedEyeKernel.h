#pragma once
// Red-eye reduction: inside a region, every pixel markedly redder than the region's
// average becomes black. Works on any store of pixels read and written one at a time
// (the host's pixel accessor, or a plain picture in tests).

#include "platform/Rect.h"

#include <cstdint>

// The pixels treated: columns x0 .. x1 - 1 and rows y0 .. y1 - 1 of the pixel
// accessor, whose row 0 is the bottom of the picture.
struct RedEyeSpan {
    int x0 = 0;
    int x1 = 0;
    int y0 = 0;
    int y1 = 0;
};

// region holds picture pixels with y from the top, of a picture height rows high.
// The rows become y0 = height - 1 - bottom, y1 = height - 1 - top: in picture rows
// that is top + 1 .. bottom, one row below the rectangle's own rows, which is how
// the filter has always placed its region. Each axis comes out in increasing order.
RedEyeSpan SpanOfRegion(const RECT& region, int height);

// The span within a width x height picture. Pixels outside it hold nothing to
// measure (the accessor reads them as 0) and take no paint, so clipping changes no
// pixel; it keeps a selection far beyond the picture from costing billions of
// accessor calls.
RedEyeSpan ClippedToPicture(const RedEyeSpan& span, int width, int height);

// The accessor's colour (blue in the low byte, then green, then red) apart.
struct RedEyeChannels {
    uint32_t red;
    uint32_t green;
    uint32_t blue;
};
RedEyeChannels ChannelsOf(uint32_t color);

// The redness a pixel must exceed to be painted: 1.2 times the region's mean redness
// sumRed / (sumGreen + sumBlue), the sums of unsigned 32 bits as they were added up.
double RedEyeLimit(uint32_t sumRed, uint32_t sumGreen, uint32_t sumBlue);

// A quotient that is not a number (a black pixel) is never above the limit; a red
// pixel without green or blue is infinitely red.
bool IsRedderThan(const RedEyeChannels& pixel, double limit);

inline constexpr uint32_t kRedEyeBlack = 0;

// Measures the span, then paints every pixel redder than the limit black, column by
// column. Each pixel is read once before it can be painted, so every decision uses
// the pixel's own colour.
template <class Pixels>
void ReduceRedEye(Pixels& pixels, const RedEyeSpan& span)
{
    uint32_t sumRed = 0;
    uint32_t sumGreen = 0;
    uint32_t sumBlue = 0;
    for (int x = span.x0; x < span.x1; ++x) {
        for (int y = span.y0; y < span.y1; ++y) {
            const RedEyeChannels pixel = ChannelsOf(pixels.GetPixel(x, y));
            sumRed += pixel.red;
            sumGreen += pixel.green;
            sumBlue += pixel.blue;
        }
    }
    const double limit = RedEyeLimit(sumRed, sumGreen, sumBlue);
    for (int x = span.x0; x < span.x1; ++x) {
        for (int y = span.y0; y < span.y1; ++y) {
            if (IsRedderThan(ChannelsOf(pixels.GetPixel(x, y)), limit)) pixels.SetPixel(x, y, kRedEyeBlack);
        }
    }
}
