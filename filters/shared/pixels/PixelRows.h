#pragma once
// A view of 32-bit pixels (blue, green, red, fourth byte) reached through a row
// stride, and the per-unit report that the pure neighbourhood kernels make. Neither
// knows about images, interfaces or widgets, so the kernels can be run alone.

#include <cstddef>
#include <cstdint>
#include <functional>

struct PixelRows {
    uint8_t* bits = nullptr;
    ptrdiff_t stride = 0;  // bytes from one row to the next
    int width = 0;
    int height = 0;

    uint8_t* Bytes(int y) const { return bits + stride * y; }
    uint32_t* Row(int y) const { return reinterpret_cast<uint32_t*>(Bytes(y)); }
};

// Told after each unit of work with the units done so far and the units announced;
// false stops the work at once. An empty function means nobody is listening.
using UnitReport = std::function<bool(int done, int total)>;
