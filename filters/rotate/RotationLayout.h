#pragma once
// Where a free rotation puts its output and how each output pixel finds its source
// point, computed once per apply from the source size, the angle and the crop type.
// Pure geometry in double precision; the pixel loops only read the result.
//
// The output pixel (X, Y) stands for the rotated-plane point k * (X + originX,
// Y + originY) and samples the source at that point turned back by the angle.
// Source and output rows are section rows: row 0 is the bottom of the picture, so a
// positive angle turns the picture counter-clockwise on screen.

#include <cstdint>
#include <optional>

// The interpolating variant blends the four neighbours of each source point; the
// nearest variant copies the closest one and never scales (crop type 2 keeps the
// crop rectangle's own size).
enum class RotationSampling { Bilinear, Nearest };

// How much of the turned picture the output keeps.
enum RotationCrop : int {
    kRotationKeepWhole = 0,        // the whole turned picture, background in the corners
    kRotationCropInside = 1,       // the largest centred rectangle of the source's proportions inside it
    kRotationCropKeepSize = 2,     // that rectangle, scaled to the source's size (bilinear only)
};

// A source position in fixed point with 10 fractional bits.
struct FixedPoint {
    int32_t x;
    int32_t y;
};

inline constexpr int kFixedPointBits = 10;
inline constexpr int32_t kFixedPointOne = 1 << kFixedPointBits;

struct RotationLayout {
    int width = 0;          // output size
    int height = 0;
    double scale = 1.0;     // k: source pixels per output pixel
    double originX = 0.0;   // rotated-plane position of output pixel (0, 0), in output pixels
    double originY = 0.0;
    double cosine = 1.0;    // of the angle
    double sine = 0.0;
    FixedPoint step{kFixedPointOne, 0};  // source movement from one output pixel to the next in a row

    // The source point of output pixel (0, y). Each row starts from its own exact
    // value, truncated toward zero, so that rounding never accumulates down the rows.
    FixedPoint RowStart(int y) const;
};

// The layout for a width x height source turned by theta radians. Crop types other
// than 0, 1 and 2 are taken as 0. Empty when crop types 1 and 2 find no rectangle
// (a source of one pixel has no diagonal to search along).
std::optional<RotationLayout> PlanRotation(int width, int height, double theta, int cropType,
                                           RotationSampling sampling);
