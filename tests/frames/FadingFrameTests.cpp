// The fading frame: band sizes and ramps from thickness, angle and steps, the mitre
// lines, the order in which blends fall on pixels covered twice, worked pixels of
// the ramp and the darkened first band. The reference walks the drawing's steps
// plainly, one pixel at a time, with its own line stepping.

#include "tests/KernelThreads.h"
#include "tests/frames/FrameTestSupport.h"

#include "filters/frames/FadingFrame.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <utility>

using namespace frames_test;

namespace {

WString FadeText(const FadingFrameSettings& s)
{
    CParamList params;
    params.Set(u"NameOfTheFrame", u"FadeFrameName");
    params.SetInt(u"FadeFrameThick", s.thick);
    params.SetInt(u"FadeFrameIntens", s.intensity);
    params.SetInt(u"FadeFrameSteps", s.steps);
    params.SetInt(u"FadeFrameAngle", s.angle);
    params.SetInt(u"FadeFrameInOut", s.outerToInner ? 1 : 0);
    params.SetInt(u"FadeFrameHorCol", static_cast<int>(s.horizontal));
    params.SetInt(u"FadeFrameVerCol", static_cast<int>(s.vertical));
    return params.ToString();
}

uint32_t Faded(uint32_t pixel, uint32_t colorValue, double w)
{
    const uint32_t c = PixelOfColor(colorValue);
    const auto one = [&](int channel, int color) { return static_cast<int>(channel * w + color * (1 - w)); };
    return Pixel(one(Red(pixel), Red(c)), one(Green(pixel), Green(c)), one(Blue(pixel), Blue(c)));
}

// The line stepped one point at a time from its start, the error kept as it grows.
std::vector<std::pair<int, int>> PlainLine(int x0, int y0, int x1, int y1)
{
    const int dx = std::abs(x1 - x0);
    const int dy = std::abs(y1 - y0);
    const int sx = x1 < x0 ? -1 : 1;
    const int sy = y1 < y0 ? -1 : 1;
    const bool alongX = dx >= dy;
    const int major = alongX ? dx : dy;
    const int minor = alongX ? dy : dx;
    std::vector<std::pair<int, int>> points;
    int x = x0;
    int y = y0;
    int error = 0;
    for (int i = 0; i <= major; ++i) {
        points.emplace_back(x, y);
        error += minor;
        if (alongX) x += sx; else y += sy;
        if (2 * error >= major) {
            if (alongX) y += sy; else x += sx;
            error -= major;
        }
    }
    return points;
}

// Settings inside the panel's ranges with an angle of 1..89 degrees.
std::vector<uint32_t> FadeReference(CHostImage* source, const FadingFrameSettings& s)
{
    std::vector<uint32_t> out = PixelsOf(source);
    const int W = source->Width();
    const int H = source->Height();
    const double F = s.thick * 0.01 * std::min(W, H) * 0.5;
    const int T = static_cast<int>(F + 0.5);
    const double tanA = std::tan(s.angle * 3.14159265358979323846 / 180);
    int V = H <= W ? T : static_cast<int>(F * tanA + 0.5);
    int U = H <= W ? static_cast<int>(F / tanA + 0.5) : T;
    const int sV = std::max(1, static_cast<int>(V / static_cast<double>(s.steps) + 0.5));
    const int sU = std::max(1, static_cast<int>(U / static_cast<double>(s.steps) + 0.5));
    if (V % sV <= 5) V -= V % sV;
    if (U % sU <= 5) U -= U % sU;
    const double m = s.intensity * 0.01;
    const auto weight = [&](int k, int len) {
        const double d = m / len;
        return s.outerToInner ? (k % len) * d : m - (k % len) * d;
    };
    const auto blend = [&](int x, int y, uint32_t color, double w) {
        if (x < 0 || x >= W || y < 0 || y >= H) return;
        uint32_t& p = out[static_cast<size_t>(y * W + x)];
        p = Faded(p, color, w);
    };
    const uint32_t hor = s.horizontal;
    const int red = static_cast<int>(hor & 0xFF) - 55;
    const int green = static_cast<int>(hor >> 8 & 0xFF) - 55;
    const uint32_t dark = (hor & 0xFF0000) | static_cast<uint32_t>((green + 256) % 256) << 8 |
                          static_cast<uint32_t>((red + 256) % 256);
    for (int y = 0; y < V; ++y) {
        const int xl = static_cast<int>(y / tanA + 0.5);
        for (int x = xl + 1; x < W - xl; ++x) blend(x, y, dark, weight(y, sV));
    }
    for (int y = H - V; y < H; ++y) {
        const int k = H - 1 - y;
        const int xl = static_cast<int>(k / tanA + 0.5);
        for (int x = xl + 1; x < W - xl; ++x) blend(x, y, hor, weight(k, sV));
    }
    for (int x = 0; x < U; ++x) {
        const int yl = static_cast<int>(x * tanA + 0.5);
        for (int y = yl + 1; y < H - yl; ++y) blend(x, y, s.vertical, weight(x, sU));
    }
    for (int x = W - U; x < W; ++x) {
        const int k = W - 1 - x;
        const int yl = static_cast<int>(k * tanA + 0.5);
        for (int y = yl + 1; y < H - yl; ++y) blend(x, y, s.vertical, weight(k, sU));
    }
    const auto z = [](int c) { return std::max(c, 0); };
    for (const auto& [x, y] : PlainLine(0, 0, z(U - 1), z(V - 1))) blend(x, y, hor, weight(y, sV));
    for (const auto& [x, y] : PlainLine(z(W - 1), 0, z(W - U), z(V - 1))) blend(x, y, hor, weight(y, sV));
    for (const auto& [x, y] : PlainLine(z(U - 1), z(H - V), 0, z(H - 1))) blend(x, y, hor, weight(H - 1 - y, sV));
    for (const auto& [x, y] : PlainLine(z(W - U), z(H - V), z(W - 1), z(H - 1)))
        blend(x, y, hor, weight(H - 1 - y, sV));
    return out;
}

FadingFrameSettings With(int thick, int intensity, int steps, int angle, bool outerToInner)
{
    FadingFrameSettings s;
    s.thick = thick;
    s.intensity = intensity;
    s.steps = steps;
    s.angle = angle;
    s.outerToInner = outerToInner;
    return s;
}

} // namespace

TEST(FadingFrame, LayoutOfTheStartValuesAndOfSteps)
{
    // F = 37.5, T = 38; tan 45 degrees is just below 1, so U = trunc(37.50..01 + 0.5) = 38.
    // Each layout's V, U, sV and sU.
    const auto bands = [](const FadingFrameLayout& l) { return std::array{l.v, l.u, l.sv, l.su}; };
    EXPECT_EQ(bands(FadingLayout(400, 300, FadingFrameSettings{})), (std::array{38, 38, 38, 38}));
    // Steps 3: sV = trunc(12.67 + 0.5) = 13; 38 mod 13 = 12 is above 5, V stays.
    const FadingFrameLayout three = FadingLayout(400, 300, With(25, 80, 3, 45, true));
    EXPECT_EQ(std::pair(three.sv, three.v), std::pair(13, 38));
    // Steps 6: sV = trunc(6.33 + 0.5) = 6; 38 mod 6 = 2, so V drops to 36.
    const FadingFrameLayout six = FadingLayout(400, 300, With(25, 80, 6, 45, true));
    EXPECT_EQ(std::pair(six.sv, six.v), std::pair(6, 36));
    // Taller than wide: U = T = 38 and V = trunc(37.5 * tan 30 + 0.5) = trunc(22.15) = 22.
    const FadingFrameLayout tall = FadingLayout(300, 400, With(25, 80, 1, 30, true));
    EXPECT_EQ(std::pair(tall.u, tall.v), std::pair(38, 22));
}

TEST(FadingFrame, OutOfRangeStepsAndAnglesAreHeldInside)
{
    const FadingFrameLayout zeroSteps = FadingLayout(400, 300, With(25, 80, 0, 45, true));
    const FadingFrameLayout oneStep = FadingLayout(400, 300, With(25, 80, 1, 45, true));
    EXPECT_EQ(std::pair(zeroSteps.sv, zeroSteps.su), std::pair(oneStep.sv, oneStep.su));
    EXPECT_DOUBLE_EQ(FadingLayout(400, 300, With(25, 80, 1, 0, true)).tanA, std::tan(3.14159265358979323846 / 180));
    EXPECT_DOUBLE_EQ(FadingLayout(400, 300, With(25, 80, 1, 98, true)).tanA,
                     std::tan(89 * 3.14159265358979323846 / 180));
    // At 1 degree the side bands are far wider than the picture: the drawing stays inside.
    const auto source = MakeImage(60, 40, Busy);
    const auto steep = Framed(source.Get(), FadeText(With(100, 80, 1, 0, true)));
    EXPECT_EQ(steep, FadeReference(source.Get(), With(100, 80, 1, 1, true)));
    const auto flat = Framed(source.Get(), FadeText(With(100, 80, 1, 98, false)));
    EXPECT_EQ(flat, FadeReference(source.Get(), With(100, 80, 1, 89, false)));
}

TEST(FadingFrame, EveryBandAndMitreAsThePlainWalkOnManyShapes)
{
    struct Case {
        int width, height;
        FadingFrameSettings settings;
    };
    FadingFrameSettings coloured = With(70, 65, 4, 30, false);
    coloured.horizontal = 0x301020;  // red and green below 55: both wrap in the first band
    coloured.vertical = 0x00FFFF;
    for (const Case& c : {Case{400, 300, FadingFrameSettings{}}, Case{300, 400, With(40, 90, 3, 60, true)},
                          Case{57, 41, coloured}, Case{33, 90, With(100, 100, 7, 10, true)},
                          Case{25, 25, With(100, 50, 50, 80, false)}, Case{1, 1, With(100, 80, 1, 45, true)},
                          Case{80, 3, With(90, 70, 2, 45, true)}}) {
        const auto source = MakeImage(c.width, c.height, Busy);
        for (const int threads : {1, 3}) {
            const ScopedKernelThreads scoped(threads);
            EXPECT_EQ(Framed(source.Get(), FadeText(c.settings)), FadeReference(source.Get(), c.settings))
                << c.width << "x" << c.height << " angle " << c.settings.angle << " steps " << c.settings.steps
                << ", " << threads << " threads";
        }
    }
}

TEST(FadingFrame, WorkedPixelsOfTheRampAndTheDarkenedFirstBand)
{
    // Start values on 400 x 300: the ramp runs once over 38 rows. Outer to inner, the
    // outermost row is the pure colour: first band 0x78FF8E darkened to red 142 - 55 = 87,
    // green 255 - 55 = 200, blue 120; last band (142, 255, 120). Row 37 keeps
    // w = 37 * 0.8 / 38 = 0.7789..: red 200 w + 142 (1 - w) = 187.2, green 77.9 + 56.4 = 134.3,
    // blue 38.9 + 26.5 = 65.5.
    const auto source = MakeImage(400, 300, [](int, int) { return Pixel(200, 100, 50, 3); });
    const auto framed = Framed(source.Get(), FadeText(FadingFrameSettings{}));
    ASSERT_EQ(framed.size(), 120000u);
    const auto at = [&](int x, int y) { return framed[static_cast<size_t>(y * 400 + x)]; };
    EXPECT_EQ(at(200, 0), Pixel(87, 200, 120));
    EXPECT_EQ(at(200, 299), Pixel(142, 255, 120));
    EXPECT_EQ(at(200, 299 - 37), Pixel(187, 134, 65));
    EXPECT_EQ(at(200, 38), Pixel(200, 100, 50, 3));
    // The left band's outermost column in the vertical colour 0x5871FF.
    EXPECT_EQ(at(0, 150), Pixel(0xFF, 0x71, 0x58));
}

TEST(FadingFrame, LinesStepLikeThePlainWalkAndSkipWhatLiesOutside)
{
    struct Line {
        int x0, y0, x1, y1;
    };
    for (const Line l : {Line{0, 0, 9, 3}, Line{9, 0, 2, 7}, Line{3, 9, 0, 0}, Line{0, 0, 0, 0}, Line{5, 5, 5, 0},
                         Line{0, 0, 30, 29}, Line{25, 2, 0, 9}, Line{2, 0, 7, 40}}) {
        std::vector<std::pair<int, int>> expected;
        for (const auto& point : PlainLine(l.x0, l.y0, l.x1, l.y1)) {
            if (point.first < 12 && point.second < 10) expected.push_back(point);
        }
        std::vector<std::pair<int, int>> walked;
        ForEachLinePoint(l.x0, l.y0, l.x1, l.y1, 12, 10, [&](int x, int y) { walked.emplace_back(x, y); });
        EXPECT_EQ(walked, expected) << l.x0 << "," << l.y0 << " to " << l.x1 << "," << l.y1;
    }
}

TEST(FadingFrame, OneReportPerBandRowAndColumn)
{
    const auto source = MakeImage(40, 30, Busy);
    const PixelRows rows{reinterpret_cast<uint8_t*>(source->Row(0)), 40 * 4, 40, 30};
    const FadingFrameLayout layout = FadingLayout(40, 30, FadingFrameSettings{});
    std::vector<int> positions;
    EXPECT_TRUE(DrawFadingFrame(rows, FadingFrameSettings{}, [&](int done, int total) {
        EXPECT_EQ(total, 2 * (layout.u + layout.v));
        positions.push_back(done);
        return true;
    }));
    EXPECT_EQ(positions.size(), static_cast<size_t>(2 * (layout.u + layout.v)));
    int stops = 0;
    EXPECT_FALSE(DrawFadingFrame(rows, FadingFrameSettings{}, [&](int, int) { return ++stops < 3; }));
    EXPECT_EQ(stops, 3);
}
