#include "filters/invert/InvertKernel.h"

#include "filters/shared/parallel/RowBands.h"

namespace {

// For a byte, 255 - v and v ^ 0xFF are the same bits, so one exclusive or per pixel
// inverts the chosen channels together and leaves the others alone.
uint32_t InversionMask(InvertedChannels channels)
{
    return (channels.red ? 0x00FF0000u : 0u) | (channels.green ? 0x0000FF00u : 0u) | (channels.blue ? 0x000000FFu : 0u);
}

} // namespace

void InvertChannels(const PixelRows& image, InvertedChannels channels)
{
    const uint32_t mask = InversionMask(channels);
    if (mask == 0) return;
    // A local width: the pixels are unsigned ints, which may alias the view's int
    // fields, and a loop bound read through the view would not be vectorised.
    const int width = image.width;
    ForEachRowBand(image.height, {}, [&image, width, mask](int first, int last) {
        for (int y = first; y < last; ++y) {
            uint32_t* row = image.Row(y);
            for (int x = 0; x < width; ++x) row[x] ^= mask;
        }
    });
}
