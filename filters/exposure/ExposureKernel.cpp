#include "filters/exposure/ExposureKernel.h"

#include "filters/shared/histograms/ChannelHistograms.h"

#include <algorithm>
#include <cmath>

// Formulas keep the order of the rules: a reordered sum changes truncated entries.
bool CNaturalSpline::Build(const std::vector<double>& x, const std::vector<double>& y)
{
    Clear();
    const size_t n = x.size();
    if (n < 2 || y.size() != n) return false;
    for (size_t k = 0; k + 1 < n; ++k) {
        if (!(x[k + 1] > x[k])) return false;
    }
    std::vector<double> y2(n, 0.0);
    std::vector<double> u(n, 0.0);
    for (size_t k = 1; k + 1 < n; ++k) {
        const double sig = (x[k] - x[k - 1]) / (x[k + 1] - x[k - 1]);
        const double p = sig * y2[k - 1] + 2.0;
        y2[k] = (sig - 1.0) / p;
        u[k] = (y[k + 1] - y[k]) / (x[k + 1] - x[k]) - (y[k] - y[k - 1]) / (x[k] - x[k - 1]);
        u[k] = (6.0 * u[k] / (x[k + 1] - x[k - 1]) - sig * u[k - 1]) / p;
    }
    y2[n - 1] = 0.0;
    for (size_t k = n - 1; k-- > 0;) y2[k] = y2[k] * y2[k + 1] + u[k];
    m_x = x;
    m_y = y;
    m_y2 = std::move(y2);
    return true;
}

bool CNaturalSpline::Evaluate(double x, double& y) const
{
    if (!IsValid()) return false;
    size_t lo = 0;
    size_t hi = m_x.size() - 1;
    while (hi - lo > 1) {
        const size_t k = (hi + lo) / 2;
        if (m_x[k] > x) hi = k;
        else lo = k;
    }
    const double h = m_x[hi] - m_x[lo];
    if (h == 0.0) return false;
    const double a = (m_x[hi] - x) / h;
    const double b = (x - m_x[lo]) / h;
    y = a * m_y[lo] + b * m_y[hi] + ((a * a * a - a) * m_y2[lo] + (b * b * b - b) * m_y2[hi]) * (h * h) / 6.0;
    return true;
}

void CNaturalSpline::Clear()
{
    m_x.clear();
    m_y.clear();
    m_y2.clear();
}

namespace {

// NaN, which no comparison catches, becomes 0 like a failed evaluation.
uint8_t ClampedLevel(double value)
{
    if (!(value >= 0.0)) return 0;
    if (value > 255.0) return 255;
    return static_cast<uint8_t>(value);
}

} // namespace

void BuildCurveTable(const CNaturalSpline& curve, uint8_t table[256])
{
    for (int i = 0; i < 256; ++i) {
        double value = 0.0;
        if (!curve.Evaluate(i, value)) value = 0.0;
        table[i] = ClampedLevel(value);
    }
}

void BuildLineTable(double slope, double offset, uint8_t table[256])
{
    for (int i = 0; i < 256; ++i) table[i] = ClampedLevel(i * slope + offset);
}

double SlopeOfLimits(int left, int right)
{
    return 255.0 / (right - left);
}

double OffsetOfLimits(int left, int right)
{
    return SlopeOfLimits(left, right) * -left;
}

// Three per cent of the third-largest count: the two highest peaks are often a
// clipped black or white and would set the bar too high.
bool FindAutomaticLimits(const uint32_t* luminance, int& left, int& right)
{
    const uint32_t third = ThirdLargestCount(luminance);
    if (third == 0) return false;
    uint32_t threshold = static_cast<uint32_t>(third * 0.03);
    if (threshold == 0) threshold = 10;
    int high = 254;
    while (luminance[high] < threshold && high > 0) --high;
    int low = 1;
    while (low < high && luminance[low] < threshold) ++low;
    if (low >= high) return false;
    left = low;
    right = high;
    return true;
}

void DrawHistogramPicture(const uint32_t* luminance, uint32_t* pixels)
{
    constexpr uint32_t kWhite = 0xFFFFFFFF;
    constexpr uint32_t kBar = 0xFF78C8C8;  // red 120, green 200, blue 200
    constexpr int kSize = kHistogramPictureSize;
    std::fill(pixels, pixels + kSize * kSize, kWhite);
    const uint32_t third = ThirdLargestCount(luminance);
    const double scale = third == 0 ? 1.0 : 256.0 / third;
    for (int v = 0; v < kSize; ++v) {
        const double scaled = luminance[v] * scale;
        const int h = scaled > 255.0 ? 255 : static_cast<int>(scaled);
        // A pen line leaves out its end point: h pixels up from the bottom row.
        for (int y = kSize - 1; y > kSize - 1 - h; --y) pixels[y * kSize + v] = kBar;
    }
}

CurveValue CurveValueOfPixel(CurvePixel pixel, int width, int height)
{
    const double x = pixel.x / static_cast<double>(width - 1) * 255.0;
    const double y = (height - 1 - pixel.y) / static_cast<double>(height - 1) * 255.0;
    return {std::clamp(x, 0.0, 255.0), std::clamp(y, 0.0, 255.0)};
}

CurvePixel PixelOfCurveValue(CurveValue value, int width, int height)
{
    const int x = static_cast<int>(value.x / 255.0 * (width - 1));
    const int y = height - static_cast<int>(value.y / 255.0 * (height - 1)) - 1;
    return {x, y};
}

int ColumnOfLevel(int level, int width)
{
    const int column = static_cast<int>((width - 1) / 255.0 * level);
    return std::clamp(column, 0, width);
}

int LevelOfColumn(int column, int width)
{
    const int level = static_cast<int>(255.0 / (width - 1) * column);
    return std::clamp(level, 0, 255);
}
