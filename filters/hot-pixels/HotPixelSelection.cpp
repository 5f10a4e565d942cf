#include "filters/hot-pixels/HotPixelSelection.h"

#include <algorithm>
#include <utility>

namespace {

// The running picks of the sequence, smallest first. t5 is the fifth value once
// five keys are in; the first value drops out once it can no longer be the median.
struct Picks {
    uint32_t lo;
    uint32_t mid;
    uint32_t hi;
    uint32_t top;
    uint32_t t5;
};

void CompareExchange(uint32_t& low, uint32_t& high)
{
    if (low > high) std::swap(low, high);
}

// West, south-west and north-west, in order.
Picks SortWesternColumn(const CompassWindow& k)
{
    Picks p{};
    p.lo = k.w;
    p.mid = k.nw;
    CompareExchange(p.lo, p.mid);
    p.hi = k.sw;
    if (p.mid > p.hi) {
        std::swap(p.mid, p.hi);
        CompareExchange(p.lo, p.mid);
    }
    return p;
}

void InsertNorth(Picks& p, uint32_t n)
{
    if (n < p.mid) {
        p.top = p.hi;
        p.hi = p.mid;
        if (n < p.lo) {
            p.mid = p.lo;
            p.lo = n;
        } else {
            p.mid = n;
        }
    } else if (n < p.hi) {
        p.top = p.hi;
        p.hi = n;
    } else {
        p.top = n;
    }
}

// Below hi the fourth value is not moved up: the old hi is lost and top keeps the
// largest value. This is where the sequence parts from a true median.
void InsertCentre(Picks& p, uint32_t z)
{
    if (z < p.hi) {
        p.t5 = p.top;
        if (z < p.mid) {
            p.hi = p.mid;
            if (z < p.lo) {
                p.mid = p.lo;
                p.lo = z;
            } else {
                p.mid = z;
            }
        } else {
            p.hi = z;
        }
    } else if (z < p.top) {
        p.t5 = p.top;
        p.top = z;
    } else {
        p.t5 = z;
    }
}

// From here on lo is never read again, so only mid takes the larger of the two.
void InsertSouth(Picks& p, uint32_t s)
{
    if (s < p.hi) {
        p.t5 = p.top;
        p.top = p.hi;
        if (s < p.mid) {
            p.hi = p.mid;
            p.mid = std::max(s, p.lo);
        } else {
            p.hi = s;
        }
    } else if (s < p.top) {
        p.t5 = p.top;
        p.top = s;
    } else if (s < p.t5) {
        p.t5 = s;
    }
}

void InsertNorthEast(Picks& p, uint32_t ne)
{
    if (ne >= p.hi) {
        p.mid = p.hi;
        if (ne >= p.top) {
            p.hi = p.top;
            p.top = ne;
            if (ne >= p.t5) p.top = p.t5;
        } else {
            p.hi = ne;
        }
    } else if (ne > p.mid) {
        p.mid = ne;
    }
}

void InsertEast(Picks& p, uint32_t e)
{
    if (e >= p.hi) {
        p.mid = p.hi;
        p.hi = e;
        if (e >= p.top) p.hi = p.top;
    } else if (e > p.mid) {
        p.mid = e;
    }
}

} // namespace

CompassWindow CompassWindowAt(const PixelRows& rows, int x, int y)
{
    const uint32_t* north = rows.Row(y + 1);
    const uint32_t* row = rows.Row(y);
    const uint32_t* south = rows.Row(y - 1);
    return {north[x - 1], north[x], north[x + 1], row[x - 1], row[x], row[x + 1], south[x - 1], south[x], south[x + 1]};
}

uint32_t SelectFromCompassWindow(const CompassWindow& window)
{
    Picks p = SortWesternColumn(window);
    InsertNorth(p, window.n);
    InsertCentre(p, window.z);
    InsertSouth(p, window.s);
    InsertNorthEast(p, window.ne);
    InsertEast(p, window.e);
    if (window.se <= p.mid) return p.mid;
    if (window.se >= p.hi) return p.hi;
    return window.se;
}
