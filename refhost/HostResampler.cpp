#include "refhost/HostResampler.h"

#include <algorithm>
#include <cstddef>
#include <vector>

namespace {

// The source pixel under the centre of destination pixel k.
int NearestIndex(int k, int sourceSize, int size)
{
    return static_cast<int>((2 * static_cast<int64_t>(k) + 1) * sourceSize / (2 * static_cast<int64_t>(size)));
}

// The two source pixels around the centre of destination pixel k and the weight of
// the second one, in 1/256.
struct Neighbours {
    int first;
    int second;
    uint32_t weight;
};

Neighbours NeighboursOf(int k, int sourceSize, int size)
{
    // Position in 1/256 of a source pixel: ((2k + 1) x sourceSize / (2 x size) - 0.5) x 256.
    const int64_t position = ((2 * static_cast<int64_t>(k) + 1) * sourceSize * 128) / size - 128;
    const int64_t whole = position >= 0 ? position / 256 : -1;
    const auto weight = static_cast<uint32_t>(position - whole * 256);
    const auto clamp = [sourceSize](int64_t index) {
        return static_cast<int>(std::clamp<int64_t>(index, 0, sourceSize - 1));
    };
    return {clamp(whole), clamp(whole + 1), weight};
}

uint32_t Blend(uint32_t a, uint32_t b, uint32_t weight)
{
    uint32_t result = 0;
    for (int shift = 0; shift < 32; shift += 8) {
        const uint32_t channel = (((a >> shift) & 0xFF) * (256 - weight) + ((b >> shift) & 0xFF) * weight + 128) >> 8;
        result |= channel << shift;
    }
    return result;
}

std::vector<Neighbours> NeighbourTable(int sourceSize, int size)
{
    std::vector<Neighbours> table(static_cast<size_t>(size));
    for (int k = 0; k < size; ++k) table[static_cast<size_t>(k)] = NeighboursOf(k, sourceSize, size);
    return table;
}

}  // namespace

void ResizeNearestNeighbour(const PixelPlane& source, const PixelPlane& destination)
{
    for (int y = 0; y < destination.height; ++y) {
        const uint32_t* sourceRow =
            source.pixels + static_cast<ptrdiff_t>(NearestIndex(y, source.height, destination.height)) * source.width;
        uint32_t* row = destination.pixels + static_cast<ptrdiff_t>(y) * destination.width;
        for (int x = 0; x < destination.width; ++x)
            row[x] = sourceRow[NearestIndex(x, source.width, destination.width)];
    }
}

// Each row of the result blends two source rows, each of those two source pixels.
void ResizeBilinear(const PixelPlane& source, const PixelPlane& destination)
{
    const std::vector<Neighbours> columns = NeighbourTable(source.width, destination.width);
    const std::vector<Neighbours> rows = NeighbourTable(source.height, destination.height);
    for (int y = 0; y < destination.height; ++y) {
        const Neighbours& vertical = rows[static_cast<size_t>(y)];
        const uint32_t* lower = source.pixels + static_cast<ptrdiff_t>(vertical.first) * source.width;
        const uint32_t* upper = source.pixels + static_cast<ptrdiff_t>(vertical.second) * source.width;
        uint32_t* row = destination.pixels + static_cast<ptrdiff_t>(y) * destination.width;
        for (int x = 0; x < destination.width; ++x) {
            const Neighbours& horizontal = columns[static_cast<size_t>(x)];
            const uint32_t below = Blend(lower[horizontal.first], lower[horizontal.second], horizontal.weight);
            const uint32_t above = Blend(upper[horizontal.first], upper[horizontal.second], horizontal.weight);
            row[x] = Blend(below, above, vertical.weight);
        }
    }
}
