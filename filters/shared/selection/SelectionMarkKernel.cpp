#include "filters/shared/selection/SelectionMarkKernel.h"

#include <algorithm>
#include <climits>
#include <cstdint>

namespace {

// A huge selection on an enlarged thumbnail must not overflow the cast.
int TruncatedScaled(int edge, double factor)
{
    const double scaled = edge * factor;
    return static_cast<int>(std::clamp(scaled, static_cast<double>(INT_MIN), static_cast<double>(INT_MAX)));
}

// Columns [left, right) of the row yFromTop (counted from the top) set to black,
// clipped to the thumbnail.
void BlackSpan(const PixelRows& thumbnail, int64_t yFromTop, int64_t left, int64_t right)
{
    if (yFromTop < 0 || yFromTop >= thumbnail.height) return;
    const int64_t from = std::max<int64_t>(left, 0);
    const int64_t to = std::min<int64_t>(right, thumbnail.width);
    uint32_t* row = thumbnail.Row(thumbnail.height - 1 - static_cast<int>(yFromTop));
    for (int64_t x = from; x < to; ++x) row[x] = 0;
}

// The frame's lines lie inside the rectangle: its first and last rows and columns.
void DrawFrame(const PixelRows& thumbnail, const RECT& scaled)
{
    const int64_t left = scaled.left;
    const int64_t right = scaled.right;
    const int64_t top = scaled.top;
    const int64_t bottom = scaled.bottom;
    if (left >= right || top >= bottom) return;
    BlackSpan(thumbnail, top, left, right);
    BlackSpan(thumbnail, bottom - 1, left, right);
    const int64_t firstRow = std::max<int64_t>(top, 0);
    const int64_t endRow = std::min<int64_t>(bottom, thumbnail.height);
    for (int64_t y = firstRow; y < endRow; ++y) {
        BlackSpan(thumbnail, y, left, left + 1);
        BlackSpan(thumbnail, y, right - 1, right);
    }
}

uint32_t Halved(uint32_t pixel)
{
    return (pixel >> 1) & 0x7F7F7Fu;
}

} // namespace

RECT ScaleSelectionToThumbnail(const RECT& selection, int thumbnailWidth, int imageWidth)
{
    const double factor = static_cast<double>(thumbnailWidth) / imageWidth;
    return {TruncatedScaled(selection.left, factor), TruncatedScaled(selection.top, factor),
            TruncatedScaled(selection.right, factor), TruncatedScaled(selection.bottom, factor)};
}

void MarkSelection(const PixelRows& thumbnail, const RECT& scaled)
{
    DrawFrame(thumbnail, scaled);
    const int64_t height = thumbnail.height;
    const int64_t keptLeft = int64_t{scaled.left} + 1;
    const int64_t keptRight = int64_t{scaled.right} - 1;
    const int64_t keptFirstRow = height - scaled.bottom;
    const int64_t keptEndRow = height - scaled.top - 2;
    for (int y = 0; y < thumbnail.height; ++y) {
        uint32_t* row = thumbnail.Row(y);
        const bool rowKept = y >= keptFirstRow && y < keptEndRow;
        for (int x = 0; x < thumbnail.width; ++x) {
            if (!rowKept || x < keptLeft || x >= keptRight) row[x] = Halved(row[x]);
        }
    }
}
