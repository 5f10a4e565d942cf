#include "filters/shared/straightening/LineFit.h"

#include <algorithm>
#include <climits>
#include <cmath>

void PointSums::Add(ChainPoint point)
{
    const auto x = static_cast<double>(point.x);
    const auto y = static_cast<double>(point.y);
    count += 1.0;
    sx += x;
    sy += y;
    sxx += x * x;
    sxy += x * y;
    syy += y * y;
}

double FittedLine::Residual(ChainPoint point) const
{
    if (!fitted) return 0.0;
    const auto x = static_cast<double>(point.x);
    const auto y = static_cast<double>(point.y);
    return steep ? x - (slope * y + intercept) : y - (slope * x + intercept);
}

FittedLine FitLine(const PointSums& s)
{
    const double dx = s.count * s.sxx - s.sx * s.sx;
    const double dy = s.count * s.syy - s.sy * s.sy;
    FittedLine line;
    line.steep = std::fabs(dy) > std::fabs(dx);
    const double d = line.steep ? dy : dx;
    if (std::fabs(d) <= 0.000001) return {};
    line.fitted = true;
    line.slope = (s.count * s.sxy - s.sx * s.sy) / d;
    if (line.steep) {
        line.intercept = (s.syy * s.sx - s.sxy * s.sy) / d;
        line.angle = -std::atan(line.slope);
    } else {
        line.intercept = (s.sxx * s.sy - s.sxy * s.sx) / d;
        line.angle = std::atan(line.slope);
    }
    return line;
}

double LargestResidualWith(std::span<const ChainPoint> points, const PointSums& sums, ChainPoint added)
{
    PointSums all = sums;
    all.Add(added);
    const FittedLine line = FitLine(all);
    double largest = std::fabs(line.Residual(added));
    for (const ChainPoint point : points) largest = std::max(largest, std::fabs(line.Residual(point)));
    return largest;
}

namespace {

struct Range {
    int low = INT_MAX;
    int high = INT_MIN;

    void Add(int value)
    {
        low = std::min(low, value);
        high = std::max(high, value);
    }
    bool Meets(const Range& other) const { return low <= other.high && other.low <= high; }
};

} // namespace

bool LineMeetsBox(const FittedLine& line, std::span<const ChainPoint> points, int width, int height)
{
    Range boxColumns;
    Range boxRows;
    for (const ChainPoint point : points) {
        boxColumns.Add(point.x);
        boxRows.Add(point.y);
    }
    // Along the fitted axis (x for a flat line), the drawn coordinate across the box.
    const Range& along = line.steep ? boxRows : boxColumns;
    const int acrossLimit = line.steep ? width : height;
    Range drawnAlong;
    Range drawnAcross;
    for (int t = along.low; t <= along.high; ++t) {
        const int across = static_cast<int>(std::floor(line.slope * t + line.intercept + 0.5));
        if (across < 0 || across >= acrossLimit) continue;
        drawnAlong.Add(t);
        drawnAcross.Add(across);
    }
    const Range& drawnColumns = line.steep ? drawnAcross : drawnAlong;
    const Range& drawnRows = line.steep ? drawnAlong : drawnAcross;
    return drawnColumns.Meets(boxColumns) && drawnRows.Meets(boxRows);
}
