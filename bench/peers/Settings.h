#pragma once
// The parameters every side is given for the tone table, the unsharp mask, the free
// rotation and the crop.

#include "filters/rotate/RotationLayout.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <stdexcept>

inline constexpr double kBrightness = 20.0;
inline constexpr double kContrast = 1.25;
inline constexpr double kUnsharpAmount = 1.0;
inline constexpr int kUnsharpThreshold = 0;

// The free rotation: counter-clockwise in each side's own row order, bilinear, the
// whole turned picture on a white background.
inline constexpr double kFreeRotationDegrees = 10.0;
inline constexpr unsigned char kRotationBackground = 255;

inline double FreeRotationRadians()
{
    return kFreeRotationDegrees / 180.0 * std::numbers::pi;
}

// Our layout decides every side's output size and mapping.
inline RotationLayout FreeRotationLayout(int width, int height)
{
    const std::optional<RotationLayout> layout =
        PlanRotation(width, height, FreeRotationRadians(), kRotationKeepWhole, RotationSampling::Bilinear);
    if (!layout) throw std::runtime_error("no rotation layout");
    return *layout;
}

// The source point of output pixel (X, Y) is (m[0] X + m[1] Y + m[2], m[3] X + m[4] Y + m[5]):
// the layout's mapping in floating point, which our kernel follows in 10-bit fixed point.
inline std::array<double, 6> OutputToSource(const RotationLayout& layout)
{
    const double k = layout.scale;
    const double c = layout.cosine;
    const double s = layout.sine;
    return {k * c, k * s, k * (layout.originX * c + layout.originY * s),
            -k * s, k * c, k * (-layout.originX * s + layout.originY * c)};
}

// Lens distortion: a mild barrel. The peers get our mapping as a map of source
// points, in their own row order, made before the timing.
inline constexpr double kLensCoefficient = 0.05;

struct LensPoint {
    double x;
    double y;
};

// The point our kernel samples for output pixel (x, y), the centre and the reference
// radius as it takes them.
inline LensPoint LensSourcePoint(int width, int height, int x, int y)
{
    const int cx = width / 2;
    const int cy = height / 2;
    const double reference = std::min(width, height) * 0.5;
    const double dx = x - cx;
    const double dy = y - cy;
    const double r = std::sqrt(dx * dx + dy * dy);
    if (r <= 0.1) return {static_cast<double>(x), static_cast<double>(y)};
    const double n = r / reference;
    const double moved = reference * (n * n * n * kLensCoefficient + n);
    return {dx / r * moved + cx, dy / r * moved + cy};
}

// The crop keeps the middle 3/4 of the width and 2/3 of the height (3000 x 2000 of the
// 4000 x 3000 photo), so that every row is a partial row of the source.
struct CropRectangle {
    int left;
    int top;
    int width;
    int height;
};

inline CropRectangle CropOf(int width, int height)
{
    return {width / 8, height / 6, width * 3 / 4, height * 2 / 3};
}
