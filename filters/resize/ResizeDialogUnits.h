#pragma once
// The units a new image size can be typed in, and their conversion to and from
// pixels at a resolution in dots per inch.

enum ResizeUnit : int {
    kUnitPixel = 0,
    kUnitInch = 1,
    kUnitCentimetre = 2,
    kUnitPercent = 3,
};

// Truncation toward zero that stays inside int: a typed size far beyond any image
// becomes INT_MAX (and so an invalid size) rather than undefined behaviour.
int TruncatedToInt(double value);

// Pixels of value given in unit, rounded to nearest; percent is of sourceSize.
// 0 for a negative value or source size, or a resolution not above 0.
int ToPixels(double value, double resolution, int sourceSize, int unit);

// pixels in unit, not rounded; 0 under the same conditions as ToPixels.
double FromPixels(int pixels, double resolution, int sourceSize, int unit);
