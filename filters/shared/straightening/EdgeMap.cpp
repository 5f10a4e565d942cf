#include "filters/shared/straightening/EdgeMap.h"

#include <cmath>

namespace {

// Gradients within about 25 degrees of an axis: the nearest whole pixel stands for
// the point one step along the gradient. Coordinates round by adding 0.5 and
// truncating; the sum of coordinate and step is single precision, the 0.5 is added
// in double, as C adds a double constant.
int NearestWhole(int coordinate, float step)
{
    return static_cast<int>(static_cast<float>(static_cast<float>(coordinate) + step) + 0.5);
}

// The magnitude at (px, py), between the four pixels around it.
float Bilinear(const WorkingPlane<float>& magnitude, float px, float py)
{
    const int x0 = static_cast<int>(px);
    const int y0 = static_cast<int>(py);
    const float fx = px - static_cast<float>(x0);
    const float fy = py - static_cast<float>(y0);
    return (1 - fx) * (1 - fy) * magnitude.At(x0, y0) + fx * (1 - fy) * magnitude.At(x0 + 1, y0) +
           (1 - fx) * fy * magnitude.At(x0, y0 + 1) + fx * fy * magnitude.At(x0 + 1, y0 + 1);
}

// Inner pixels only: a step of at most 0.9 along each axis (the interpolated case)
// from a pixel at least one away from every border stays inside the plane, with room
// for the pixel to the right and below, so no position needs a bounds check.
bool IsLocalMaximum(const GradientPlanes& gradient, int x, int y, float m)
{
    const float ux = gradient.horizontal.At(x, y) / m;
    const float uy = gradient.vertical.At(x, y) / m;
    const WorkingPlane<float>& magnitude = gradient.magnitude;
    if (std::fabs(ux) > 0.9f || std::fabs(uy) > 0.9f) {
        return magnitude.At(NearestWhole(x, ux), NearestWhole(y, uy)) < m &&
               magnitude.At(NearestWhole(x, -ux), NearestWhole(y, -uy)) <= m;
    }
    const auto fx = static_cast<float>(x);
    const auto fy = static_cast<float>(y);
    return Bilinear(magnitude, fx + ux, fy + uy) < m && Bilinear(magnitude, fx - ux, fy - uy) <= m;
}

} // namespace

bool SuppressNonMaxima(const GradientPlanes& gradient, WorkingPlane<uint8_t>& edges, StageProgress& progress)
{
    const int width = gradient.magnitude.width;
    const int height = gradient.magnitude.height;
    edges = WorkingPlane<uint8_t>(width, height);
    for (int y = 0; y < height; ++y) {
        if (!progress.Next()) return false;
        if (y == 0 || y == height - 1) continue;
        for (int x = 1; x < width - 1; ++x) {
            const float m = gradient.magnitude.At(x, y);
            if (m > 0.5f && IsLocalMaximum(gradient, x, y, m)) edges.At(x, y) = NearestByte(m);
        }
    }
    return true;
}

bool BinariseEdges(WorkingPlane<uint8_t>& edges, int threshold, StageProgress& progress)
{
    for (int y = 0; y < edges.height; ++y) {
        if (!progress.Next()) return false;
        uint8_t* row = edges.Row(y);
        for (int x = 0; x < edges.width; ++x) row[x] = row[x] < threshold ? 0 : kEdgePixel;
    }
    return true;
}
