#pragma once
// The reference host's own resize service: nearest neighbour and bilinear on 32-bit
// pixels, all four bytes alike. Pixel centres are aligned: destination pixel k sits
// at source position (k + 0.5) x source size / size - 0.5.

#include <cstdint>

struct PixelPlane {
    uint32_t* pixels;
    int width;
    int height;  // rows packed, width pixels apart
};

void ResizeNearestNeighbour(const PixelPlane& source, const PixelPlane& destination);

// Weights in 1/256; positions outside the source take its edge pixels.
void ResizeBilinear(const PixelPlane& source, const PixelPlane& destination);
