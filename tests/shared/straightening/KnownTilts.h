#pragma once
// Pictures whose tilt is known: parallel dark lines on a light ground, turned
// counter-clockwise on screen by a given angle, and the shared photographs turned by
// Qt. Rows are section rows (row 0 at the bottom), so a positive turn makes
// near-horizontal lines climb in row index as the column grows, and makes
// near-vertical lines lean left as the row index grows.

#include "tests/TestSupport.h"

#include "filters/shared/pixels/PixelRows.h"
#include "filters/shared/straightening/StraighteningAngle.h"
#include "refhost/ImageConversion.h"

#include <QImage>
#include <QString>
#include <QTransform>

#include <algorithm>
#include <cmath>
#include <numbers>

struct LinePattern {
    double degrees = 0.0;   // counter-clockwise on screen
    bool upright = false;   // near-vertical lines instead of near-horizontal ones
    bool smooth = true;     // anti-aliased edges instead of hard ones
    int spacing = 37;       // pixels between neighbouring lines, across them
    double halfWidth = 1.5;
};

inline constexpr int kLineGround = 225;
inline constexpr int kLineInk = 35;

inline uint32_t GreyPixel(int level)
{
    const auto g = static_cast<uint32_t>(std::clamp(level, 0, 255));
    return 0xFF000000u | g << 16 | g << 8 | g;
}

// How much of the pixel at (x, y) one of the lines covers, from its distance across
// the nearest line: a box one pixel wide slid over a band 2 x halfWidth thick.
inline double LineCoverage(const LinePattern& pattern, int x, int y)
{
    const double theta = pattern.degrees * std::numbers::pi / 180;
    // The coordinate across the lines: the turned row index, or the turned column.
    const double across = pattern.upright ? x * std::cos(theta) + y * std::sin(theta)
                                          : y * std::cos(theta) - x * std::sin(theta);
    const double offset = across - pattern.spacing * std::floor(across / pattern.spacing + 0.5);
    const double distance = std::abs(offset);
    if (!pattern.smooth) return distance <= pattern.halfWidth ? 1.0 : 0.0;
    return std::clamp(pattern.halfWidth + 0.5 - distance, 0.0, 1.0);
}

inline CComPtr<CHostImage> TiltedLines(int width, int height, const LinePattern& pattern)
{
    return MakeImage(width, height, [&](int x, int y) {
        const double coverage = LineCoverage(pattern, x, y);
        return GreyPixel(static_cast<int>(std::lround(kLineGround - (kLineGround - kLineInk) * coverage)));
    });
}

inline PixelRows RowsOf(CHostImage* image)
{
    return {image->GetPixels(), image->GetStride(), image->Width(), image->Height()};
}

// The detection's answer for a picture, with the padding and threshold its callers pass.
inline float DetectedTilt(CHostImage* image, const UnitReport& report = {})
{
    return DetectStraighteningAngle(RowsOf(image), report, kStraighteningEdgePadding, kStraighteningThreshold);
}

inline double Degrees(double radians)
{
    return radians * 180 / std::numbers::pi;
}

// A photograph of the workplace's shared folder beside the source tree, decoded top
// down as Qt gives it; null when the folder is not there.
inline QImage SharedPhoto(const char* name)
{
    return QImage(QStringLiteral(BF_SOURCE_DIR "/../shared/photos/") + QString::fromLatin1(name))
        .convertToFormat(QImage::Format_RGB32);
}

// The photo turned counter-clockwise on screen by degrees (Qt's y axis points down,
// so its positive turns are clockwise), then the centred width x height part, far
// enough inside to hold no uncovered corner.
inline CComPtr<CHostImage> TurnedPhoto(const QImage& photo, double degrees, int width, int height)
{
    const QImage turned = photo.transformed(QTransform().rotate(-degrees), Qt::SmoothTransformation);
    const QImage middle = turned.copy((turned.width() - width) / 2, (turned.height() - height) / 2, width, height);
    return CComPtr<CHostImage>::Adopt(ImageFromQImage(middle));
}
