#pragma once
// The thumbnails of crop and red-eye mark the rectangle the filter works on: a black frame
// around it and everything outside at half brightness.

#include "filters/shared/pixels/PixelRows.h"
#include "platform/Rect.h"

// selection (picture pixels, y from the top) in the thumbnail's pixels: each edge
// times thumbnailWidth / imageWidth, truncated toward zero.
RECT ScaleSelectionToThumbnail(const RECT& selection, int thumbnailWidth, int imageWidth);

// thumbnail is a bottom-up section. The frame is the border of the half-open
// rectangle scaled; every pixel outside the columns scaled.left + 1 to
// scaled.right - 1 and the section rows height - scaled.bottom to height -
// scaled.top - 2 (both half-open) becomes (pixel >> 1) & 0x7F7F7F. The kept rows
// sit one row below the frame's inside, as the thumbnail has always been marked.
void MarkSelection(const PixelRows& thumbnail, const RECT& scaled);
