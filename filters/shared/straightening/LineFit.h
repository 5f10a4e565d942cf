#pragma once
// Least-squares lines through pixel positions, as the chain search grows and judges
// its chains. A line closer to vertical is fitted as x against y, so that steep and
// flat lines are measured alike.

#include <span>

struct ChainPoint {
    int x = 0;
    int y = 0;

    bool operator==(const ChainPoint&) const = default;
};

// The sums a fit needs. Positions are whole numbers, so every sum, and every product
// of two sums that a fit forms, is exact in double.
struct PointSums {
    double count = 0.0;
    double sx = 0.0;
    double sy = 0.0;
    double sxx = 0.0;
    double sxy = 0.0;
    double syy = 0.0;

    void Add(ChainPoint point);
};

struct FittedLine {
    bool fitted = false;  // false: the points do not determine a line
    bool steep = false;   // x = slope * y + intercept; else y = slope * x + intercept
    double slope = 0.0;
    double intercept = 0.0;
    double angle = 0.0;   // radians; positive when y grows with x

    // The distance along the fitted axis from the line to point (0 without a fit).
    double Residual(ChainPoint point) const;
};

FittedLine FitLine(const PointSums& sums);

// The largest residual of the points and one more point, under the line fitted
// through all of them.
double LargestResidualWith(std::span<const ChainPoint> points, const PointSums& sums, ChainPoint added);

// Whether the line, drawn one pixel per column (flat) or per row (steep) across the
// points' bounding box and clipped to a width x height plane, meets the box on both
// axes. Closed ranges, so that exactly horizontal and vertical chains pass.
bool LineMeetsBox(const FittedLine& line, std::span<const ChainPoint> points, int width, int height);
