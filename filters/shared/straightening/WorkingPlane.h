#pragma once
// A plane of values the straightening detection works on: width x height, rows in
// the picture's own order (row 0 is the bottom row), packed one after another.

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <vector>

template <class Value>
struct WorkingPlane {
    int width = 0;
    int height = 0;
    std::vector<Value> values;

    WorkingPlane() = default;
    WorkingPlane(int planeWidth, int planeHeight)
        : width(planeWidth), height(planeHeight), values(static_cast<size_t>(planeWidth) * static_cast<size_t>(planeHeight))
    {
    }

    Value* Row(int y) { return values.data() + static_cast<size_t>(y) * static_cast<size_t>(width); }
    const Value* Row(int y) const { return values.data() + static_cast<size_t>(y) * static_cast<size_t>(width); }
    Value& At(int x, int y) { return Row(y)[x]; }
    const Value& At(int x, int y) const { return Row(y)[x]; }
};

// A value stored in a byte plane: rounded to nearest with ties to even, as the
// processor rounds by default, and held at 255.
inline uint8_t NearestByte(float value)
{
    return static_cast<uint8_t>(std::min(std::nearbyint(value), 255.0f));
}
