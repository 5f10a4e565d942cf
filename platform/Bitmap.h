#pragma once
// Device-independent pixel sections: 32 bits per pixel, rows bottom-up and packed.
// Images hand these out by handle; their description is read with GetObjectW.

#include <cstdint>

struct BitmapSection;
using HBITMAP = BitmapSection*;

struct BITMAP {
    int32_t bmType;
    int32_t bmWidth;
    int32_t bmHeight;
    int32_t bmWidthBytes;
    uint16_t bmPlanes;
    uint16_t bmBitsPixel;
    void* bmBits;
};

// A new section of width x height pixels, zero-filled; null when the size is not
// positive or memory runs out.
HBITMAP CreateBitmapSection32(int width, int height);

// Frees a section; null is allowed.
void DeleteBitmapSection(HBITMAP bitmap);

// Fills a BITMAP when size is at least sizeof(BITMAP); answers the bytes written,
// 0 for a null handle, a null buffer or a short size.
int GetObjectW(HBITMAP bitmap, int size, void* buffer);
