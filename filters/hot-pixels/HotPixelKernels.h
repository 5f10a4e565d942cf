#pragma once
// The hot pixel fixer's pixel work, free of interfaces. Hot pixels are looked for on
// a noise-reduced copy of the picture, where grain no longer stands out, and painted
// over in the picture itself: each one that stands far enough from every other gets
// a diamond of pixels rebuilt from the outside in, every pixel from the window one
// step further out.
//
// While the work runs, the fourth byte of every pixel holds the pixel's mean M, so
// that a pixel's whole 32-bit word (its key) orders pixels by M, then red, green and
// blue. Coordinates are columns and section rows, row 0 at the bottom.

#include "filters/shared/pixels/PixelRows.h"

#include <cstdint>
#include <functional>
#include <span>
#include <utility>
#include <vector>

// How far the examination around a candidate and its repair reach, in |dx| + |dy|.
inline constexpr int kHotPixelReach = 8;
// Candidates need their whole 5 x 5 neighbourhood inside the picture.
inline constexpr int kHotPixelMargin = 2;

struct HotPixel {
    int32_t x;
    int32_t y;

    bool operator==(const HotPixel&) const = default;
};

struct PixelOffset {
    int dx;
    int dy;
};

// floor((R + G + B + 2) / 3).
uint32_t MeanOf(uint32_t pixel);

// One progress count across the passes of a phase, against a total announced up front.
class PhaseCount {
public:
    PhaseCount(UnitReport report, int total) : m_report(std::move(report)), m_total(total) {}
    // False when the report stops the work.
    bool Advance(int units);

private:
    UnitReport m_report;
    int m_total;
    int m_done = 0;
};

// Writes each pixel's mean into its fourth byte; one unit a row.
bool KeyRowsByMean(const PixelRows& image, PhaseCount& count);
// Sets every fourth byte to 0; one unit a row.
bool ClearFourthBytes(const PixelRows& image, PhaseCount& count);

// Whether the keyed pixel (x, y), at least kHotPixelMargin inside, is a hot pixel:
// one of its colours above 64, no neighbour's key above its own, its mean more than
// intensity above the mean of the second-brightest pixel of the ring at distance 2,
// nothing brighter within the diamond of kHotPixelReach, and at most 8 pixels beyond
// the central 5 x 5 brighter than 8/10 of its key (more make it detail, a star or a
// highlight, not a defect).
bool IsHotPixel(const PixelRows& keyed, int x, int y, int intensity);

// The hot pixels of a keyed picture, rows from the bottom, each left to right; three
// units a row examined. The rows spread over the cores; the order stays.
bool FindHotPixels(const PixelRows& keyed, int intensity, PhaseCount& count, std::vector<HotPixel>& found);

// max(10, min(width, height) / 50).
int IsolationLimit(int width, int height);
// The candidates farther than limit (|dx| + |dy|) from every other one, in list
// order. Two defects that close are more likely one bright detail; candidates must
// come in the order FindHotPixels gives (rows rising).
std::vector<HotPixel> KeepIsolated(std::span<const HotPixel> candidates, int limit);

// The diamond's offsets in repair order: the farthest (|dx| + |dy|) first, at equal
// distance the farthest max(|dx|, |dy|) first, and offsets tied on both in the order
// of rows from the bottom, each left to right.
std::span<const PixelOffset> RepairOrder();

// Rebuilds the diamond around centre in the keyed picture: each pixel inside the
// picture takes the selection from the window around its neighbour one step further
// from the centre, unless that neighbour lies on the picture's edge. Pixels already
// rebuilt are read with their new keys.
void RepairHotPixel(const PixelRows& keyed, HotPixel centre);

// The units of the second phase: two mean passes, the detection and the clearing.
int RepairPhaseTotal(int height);

// The whole fix in place. Phase one reduces the noise of a copy (report hears the
// noise engine's count); phase two keys the copy, finds the hot pixels on it, keys
// the picture, repairs the isolated ones and clears the fourth bytes (report hears
// RepairPhaseTotal units). endNoisePhase (may be empty) is told how phase one ended,
// before phase two begins; the caller ends phase two. False for a picture without
// pixels, a failed allocation or a stop; after a stop in phase two the picture may
// hold means in its fourth bytes.
bool FixHotPixels(const PixelRows& image, int intensity, const UnitReport& report,
                  const std::function<void(bool)>& endNoisePhase);
