#pragma once
// Plain references for the hot pixel tests, written from the rules without the
// module's code: the nine-key selection as the median of the window it actually
// ranks, the detection, the isolation and the repair of one diamond.

#include "filters/shared/pixels/PixelRows.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <vector>

namespace hot_pixel_reference {

// Keys in the order the selection takes them: W, SW, NW, N, Z, S, NE, E, SE.
using Window = std::array<uint32_t, 9>;

inline uint32_t PlainMedian(Window keys)
{
    std::nth_element(keys.begin(), keys.begin() + 4, keys.end());
    return keys[4];
}

// When the centre Z comes in below the third of W, SW, NW and N, the sequence keeps
// the largest of those four twice and loses the third; what it then returns is
// exactly the median of the window so changed. Otherwise nothing is lost.
inline bool LosesAKey(const Window& keys)
{
    std::array<uint32_t, 4> first{keys[0], keys[1], keys[2], keys[3]};
    std::sort(first.begin(), first.end());
    return keys[4] < first[2];
}

inline uint32_t RankedMedian(Window keys)
{
    if (!LosesAKey(keys)) return PlainMedian(keys);
    std::array<uint32_t, 4> first{keys[0], keys[1], keys[2], keys[3]};
    std::sort(first.begin(), first.end());
    *std::find(keys.begin(), keys.begin() + 4, first[2]) = first[3];
    return PlainMedian(keys);
}

// The window around (x, y) with north the row above on screen (section row + 1).
inline Window WindowAt(const PixelRows& rows, int x, int y, int north = 1)
{
    const uint32_t* n = rows.Row(y + north);
    const uint32_t* row = rows.Row(y);
    const uint32_t* s = rows.Row(y - north);
    return {row[x - 1], s[x - 1], n[x - 1], n[x], row[x], s[x], n[x + 1], row[x + 1], s[x + 1]};
}

struct Offset {
    int dx;
    int dy;
};

// Farthest first by |dx| + |dy|, then by max(|dx|, |dy|); ties keep rows from the
// bottom, each left to right.
inline std::vector<Offset> RepairOrder()
{
    std::vector<Offset> offsets;
    for (int dy = -8; dy <= 8; ++dy) {
        for (int dx = -8; dx <= 8; ++dx) {
            if (std::abs(dx) + std::abs(dy) <= 8) offsets.push_back({dx, dy});
        }
    }
    const auto rank = [](const Offset& o) {
        return std::pair{std::abs(o.dx) + std::abs(o.dy), std::max(std::abs(o.dx), std::abs(o.dy))};
    };
    std::stable_sort(offsets.begin(), offsets.end(), [&](const Offset& a, const Offset& b) { return rank(a) > rank(b); });
    return offsets;
}

// The repair of the diamond around (cx, cy) in keyed rows, in place. north -1 reads
// the windows upside down, to show that the orientation matters.
inline void Repair(const PixelRows& rows, int cx, int cy, int north = 1)
{
    for (const Offset& o : RepairOrder()) {
        const int qx = cx + o.dx;
        const int qy = cy + o.dy;
        if (qx < 0 || qy < 0 || qx >= rows.width || qy >= rows.height) continue;
        const int nx = qx + (o.dx > 0 && qx < rows.width - 1 ? 1 : o.dx < 0 && qx >= 1 ? -1 : 0);
        const int ny = qy + (o.dy > 0 && qy < rows.height - 1 ? 1 : o.dy < 0 && qy >= 1 ? -1 : 0);
        if (nx < 1 || nx >= rows.width - 1 || ny < 1 || ny >= rows.height - 1) continue;
        rows.Row(qy)[qx] = RankedMedian(WindowAt(rows, nx, ny, north));
    }
}

struct Place {
    int x;
    int y;
};

// Every pixel of the keyed rows that the detection's rules take for a hot pixel,
// rows from the bottom, each left to right.
inline std::vector<Place> Candidates(const PixelRows& keyed, int intensity)
{
    std::vector<Place> found;
    const auto at = [&](int x, int y) { return keyed.Row(y)[x]; };
    for (int y = 2; y <= keyed.height - 3; ++y) {
        for (int x = 2; x <= keyed.width - 3; ++x) {
            const uint32_t p = at(x, y);
            if (((p >> 16) & 0xFF) <= 64 && ((p >> 8) & 0xFF) <= 64 && (p & 0xFF) <= 64) continue;
            bool hot = true;
            std::vector<uint32_t> ring;
            for (int dy = -2; dy <= 2; ++dy) {
                for (int dx = -2; dx <= 2; ++dx) {
                    const int chebyshev = std::max(std::abs(dx), std::abs(dy));
                    if (chebyshev == 1 && at(x + dx, y + dy) > p) hot = false;
                    if (chebyshev == 2) ring.push_back(at(x + dx, y + dy));
                }
            }
            std::sort(ring.begin(), ring.end(), [](uint32_t a, uint32_t b) { return a > b; });
            hot = hot && int64_t{p >> 24} > int64_t{ring[1] >> 24} + intensity;
            int bright = 0;
            for (int dy = -8; dy <= 8 && hot; ++dy) {
                for (int dx = -8; dx <= 8; ++dx) {
                    const int qx = x + dx;
                    const int qy = y + dy;
                    if (std::abs(dx) + std::abs(dy) > 8 || qx < 0 || qy < 0 || qx >= keyed.width || qy >= keyed.height)
                        continue;
                    const uint32_t q = at(qx, qy);
                    if (q > p) hot = false;
                    if ((std::abs(dx) > 2 || std::abs(dy) >= 3) && q > p / 10 * 8) ++bright;
                }
            }
            if (hot && bright <= 8) found.push_back({x, y});
        }
    }
    return found;
}

inline std::vector<Place> Isolated(const std::vector<Place>& candidates, int width, int height)
{
    const int limit = std::max(10, std::min(width, height) / 50);
    std::vector<Place> kept;
    for (const Place& a : candidates) {
        bool alone = true;
        for (const Place& b : candidates) {
            if ((a.x != b.x || a.y != b.y) && std::abs(a.x - b.x) + std::abs(a.y - b.y) <= limit) alone = false;
        }
        if (alone) kept.push_back(a);
    }
    return kept;
}

} // namespace hot_pixel_reference
