#pragma once
// The pure arithmetic of Exposure: the natural cubic spline of the gradation curve,
// the two ways to a transfer table, the automatic histogram limits, and the
// coordinates and picture its two controls share. No interfaces, no widgets.

#include <cstddef>
#include <cstdint>
#include <vector>

// A natural cubic spline through points of strictly increasing x; empty until built.
class CNaturalSpline {
public:
    // False, leaving the spline empty, for fewer than two points or an x that does
    // not increase.
    bool Build(const std::vector<double>& x, const std::vector<double>& y);
    bool IsValid() const { return m_x.size() >= 2; }
    int Count() const { return static_cast<int>(m_x.size()); }
    double X(int k) const { return m_x[static_cast<size_t>(k)]; }
    double Y(int k) const { return m_y[static_cast<size_t>(k)]; }
    double SecondDerivative(int k) const { return m_y2[static_cast<size_t>(k)]; }
    // Beyond the end points the end interval's cubic goes on. False for an empty spline.
    bool Evaluate(double x, double& y) const;
    void Clear();

private:
    std::vector<double> m_x;
    std::vector<double> m_y;
    std::vector<double> m_y2;
};

// Entry i: the curve at i, clamped to 0..255 and truncated; 0 where it cannot be evaluated.
void BuildCurveTable(const CNaturalSpline& curve, uint8_t table[256]);
// Entry i: i * slope + offset, clamped to 0..255 and truncated.
void BuildLineTable(double slope, double offset, uint8_t table[256]);

// The line that stretches left to 0 and right to 255.
double SlopeOfLimits(int left, int right);
double OffsetOfLimits(int left, int right);

// The limits where the luminance counts first reach a threshold from either end;
// false, leaving them alone, when no level between reaches it.
bool FindAutomaticLimits(const uint32_t* luminance, int& left, int& right);

// The luminance histogram as both controls show it: a 256 x 256 picture, top row
// first, 0xAARRGGBB words.
inline constexpr int kHistogramPictureSize = 256;
void DrawHistogramPicture(const uint32_t* luminance, uint32_t* pixels);

// Curve values (0..255 both ways, y up) and pixel positions of a control of width x height.
struct CurveValue {
    double x;
    double y;
};
struct CurvePixel {
    int x;
    int y;
};
CurveValue CurveValueOfPixel(CurvePixel pixel, int width, int height);
CurvePixel PixelOfCurveValue(CurveValue value, int width, int height);

// Levels and pixel columns of the histogram control, of width pixels.
int ColumnOfLevel(int level, int width);
int LevelOfColumn(int column, int width);
