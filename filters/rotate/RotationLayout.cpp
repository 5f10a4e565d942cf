#include "filters/rotate/RotationLayout.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

// A line through the centre counts as parallel to an edge below this cross product.
constexpr double kParallel = 0.000001;
// How far past an edge's ends a crossing may lie and still count as on the edge, so
// that a diagonal running exactly through a corner meets it.
constexpr double kBeforeEdge = -0.0000000001;
constexpr double kAfterEdge = 1.0000000001;
// Coordinates closer than this are equal.
constexpr double kSameCoordinate = 0.000000000001;

struct Point {
    double x;
    double y;
};

Point Negated(Point p)
{
    return {-p.x, -p.y};
}

Point Turned(double x, double y, double cosine, double sine)
{
    return {x * cosine - y * sine, x * sine + y * cosine};
}

// Half away from zero, the same for both signs, so that the corners of a picture turned
// by a negative angle mirror those turned by the positive one.
int RoundedAwayFromZero(double v)
{
    return static_cast<int>(v > 0 ? std::floor(v + 0.5) : -std::floor(0.5 - v));
}

struct Rectangle {
    int left;
    int top;
    int right;
    int bottom;
};

// The bounding box of the four turned corners.
Rectangle WholeTurnedPicture(int width, int height, double cosine, double sine)
{
    const Point corners[] = {{0.0, 0.0}, {0.0, height - 1.0}, {width - 1.0, height - 1.0}, {width - 1.0, 0.0}};
    Rectangle box{};
    for (int i = 0; i < 4; ++i) {
        const Point turned = Turned(corners[i].x, corners[i].y, cosine, sine);
        const int x = RoundedAwayFromZero(turned.x);
        const int y = RoundedAwayFromZero(turned.y);
        box = i == 0 ? Rectangle{x, y, x, y}
                     : Rectangle{std::min(box.left, x), std::min(box.top, y), std::max(box.right, x),
                                 std::max(box.bottom, y)};
    }
    return box;
}

// Where the line through the centre with the given slope crosses the edge from one
// corner to the other; empty when it runs parallel to the edge or passes it by.
std::optional<Point> Crossing(double slope, Point from, Point to)
{
    const Point edge{to.x - from.x, to.y - from.y};
    const double denominator = edge.y - slope * edge.x;
    if (std::abs(denominator) < kParallel) return std::nullopt;
    const double along = (slope * from.x - from.y) / denominator;
    if (along < kBeforeEdge || along > kAfterEdge) return std::nullopt;
    return Point{from.x + along * edge.x, from.y + along * edge.y};
}

double SmallerMagnitude(double first, double second)
{
    return std::abs(first) < std::abs(second) + kSameCoordinate ? std::abs(first) : std::abs(second);
}

struct HalfSize {
    int width;
    int height;

    long long SquaredDiagonal() const { return 1LL * width * width + 1LL * height * height; }
};

// The largest rectangle centred in the turned picture whose diagonals have the slopes
// slope and -slope: its corners lie where the first of these diagonals to reach the
// border does. corner and other are the turned picture's corners A and B; the
// diagonal of positive slope meets edge A-B or edge A-(-B), the other edge A-B or
// edge B-(-A).
std::optional<HalfSize> LargestCentredRectangle(double slope, Point corner, Point other)
{
    std::optional<Point> rising = Crossing(slope, corner, other);
    if (!rising) rising = Crossing(slope, corner, Negated(other));
    std::optional<Point> falling = Crossing(-slope, corner, other);
    if (!falling) falling = Crossing(-slope, other, Negated(corner));
    if (!rising || !falling) return std::nullopt;
    return HalfSize{static_cast<int>(SmallerMagnitude(rising->x, falling->x)),
                    static_cast<int>(SmallerMagnitude(rising->y, falling->y))};
}

// The largest centred rectangle of the source's proportions, or of the swapped ones
// when that is larger, inside the turned picture.
std::optional<Rectangle> CropInsideTurnedPicture(int width, int height, double cosine, double sine)
{
    const int a = width / 2;
    const int b = height / 2;
    const Point corner{a * cosine - b * sine, a * sine + b * cosine};
    const Point other{a * cosine + b * sine, a * sine - b * cosine};
    const double proportions = static_cast<double>(height) / width;
    const std::optional<HalfSize> kept = LargestCentredRectangle(proportions, corner, other);
    const std::optional<HalfSize> swapped = LargestCentredRectangle(1 / proportions, corner, other);
    if (!kept || !swapped) return std::nullopt;
    // On a tie the source's own proportions win.
    const HalfSize half = swapped->SquaredDiagonal() > kept->SquaredDiagonal() ? *swapped : *kept;
    const Point centre = Turned(width / 2.0, height / 2.0, cosine, sine);
    const int cx = static_cast<int>(centre.x);
    const int cy = static_cast<int>(centre.y);
    return Rectangle{cx - half.width, cy - half.height, cx + half.width, cy + half.height};
}

// The output shows the rectangle pixel for pixel.
RotationLayout Unscaled(const Rectangle& shown)
{
    RotationLayout layout;
    layout.width = shown.right - shown.left + 1;
    layout.height = shown.bottom - shown.top + 1;
    layout.originX = shown.left;
    layout.originY = shown.top;
    return layout;
}

// The output takes the source's size, turned a quarter when the rectangle's shape is
// the other way round, and the rectangle is scaled to it, centred.
RotationLayout ScaledToSourceSize(const Rectangle& shown, int width, int height)
{
    const int shownWidth = shown.right - shown.left + 1;
    const int shownHeight = shown.bottom - shown.top + 1;
    const bool turnedShape = 1LL * (shownWidth - shownHeight) * (width - height) < 0;
    RotationLayout layout;
    layout.width = turnedShape ? height : width;
    layout.height = turnedShape ? width : height;
    layout.scale = std::min(static_cast<double>(shownWidth) / layout.width,
                            static_cast<double>(shownHeight) / layout.height);
    layout.originX = ((shown.left + shown.right) / 2.0) / layout.scale - (layout.width - 1) / 2.0;
    layout.originY = ((shown.top + shown.bottom) / 2.0) / layout.scale - (layout.height - 1) / 2.0;
    return layout;
}

} // namespace

FixedPoint RotationLayout::RowStart(int y) const
{
    return {static_cast<int32_t>(scale * (originX * cosine + (y + originY) * sine) * kFixedPointOne),
            static_cast<int32_t>(scale * (-originX * sine + (y + originY) * cosine) * kFixedPointOne)};
}

std::optional<RotationLayout> PlanRotation(int width, int height, double theta, int cropType,
                                           RotationSampling sampling)
{
    const double cosine = std::cos(theta);
    const double sine = std::sin(theta);
    RotationLayout layout;
    if (cropType == kRotationCropInside || cropType == kRotationCropKeepSize) {
        const std::optional<Rectangle> inside = CropInsideTurnedPicture(width, height, cosine, sine);
        if (!inside) return std::nullopt;
        const bool scaled = cropType == kRotationCropKeepSize && sampling == RotationSampling::Bilinear;
        layout = scaled ? ScaledToSourceSize(*inside, width, height) : Unscaled(*inside);
    } else {
        layout = Unscaled(WholeTurnedPicture(width, height, cosine, sine));
    }
    layout.cosine = cosine;
    layout.sine = sine;
    layout.step = {static_cast<int32_t>(kFixedPointOne * layout.scale * std::cos(-theta)),
                   static_cast<int32_t>(kFixedPointOne * layout.scale * std::sin(-theta))};
    return layout;
}
