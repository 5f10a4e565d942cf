#include "filters/frames/FadingFrame.h"

#include "filters/frames/FadeSpanKernel.h"
#include "filters/frames/FadingFramePanel.h"
#include "filters/frames/FrameBlend.h"
#include "filters/frames/FramesSettings.h"
#include "filters/shared/parallel/RowBands.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <numbers>
#include <utility>
#include <vector>

namespace {

// Ends a band's ramp count on a whole ramp, unless that would drop more than 5 rows.
int WholeRamps(int length, int ramp)
{
    const int rest = length % ramp;
    return rest <= 5 ? length - rest : length;
}

// The top and bottom bands are told apart by a darker red and green in the first:
// each byte loses 55 and wraps below 0, as the 8-bit sum does.
uint32_t Darkened(uint32_t value)
{
    const uint32_t red = (value - 55) & 0xFF;
    const uint32_t green = ((value >> 8) - 55) & 0xFF;
    return (value & 0xFF0000) | green << 8 | red;
}

struct Ramp {
    int length;
    double step;
    double most;
    bool outerToInner;

    double Weight(int k) const
    {
        const int along = k % length;
        return outerToInner ? along * step : most - along * step;
    }
};

class CFadeDrawing {
public:
    CFadeDrawing(const PixelRows& image, const FadingFrameSettings& settings, const UnitReport& report)
        : m_image(image), m_layout(FadingLayout(image.width, image.height, settings)), m_report(report),
          m_horizontal(FrameColorOf(settings.horizontal)), m_firstColor(FrameColorOf(Darkened(settings.horizontal))),
          m_verticalColor(FrameColorOf(settings.vertical)), m_fadeRow(ChosenFadeRowLoop())
    {
        const double most = settings.intensity * 0.01;
        m_rows = {m_layout.sv, most / m_layout.sv, most, settings.outerToInner};
        m_columns = {m_layout.su, most / m_layout.su, most, settings.outerToInner};
        m_total = 2 * (std::clamp(m_layout.u, 0, image.width) + std::clamp(m_layout.v, 0, image.height));
    }

    bool Run()
    {
        const int w = m_image.width;
        const int h = m_image.height;
        const int v = std::clamp(m_layout.v, 0, h);
        const int u = std::clamp(m_layout.u, 0, w);
        for (int y = 0; y < v; ++y) {
            if (!Across(y, y, m_firstColor)) return false;
        }
        for (int y = h - v; y < h; ++y) {
            if (!Across(y, h - 1 - y, m_horizontal)) return false;
        }
        if (!SideBands(u)) return false;
        Mitres();
        return true;
    }

private:
    void Fade(int x, int y, const FrameColor& color, double weight) const
    {
        uint32_t& pixel = m_image.Row(y)[x];
        pixel = FadeFramePixel(pixel, color, weight);
    }

    // The positions p with inset < p < size - inset, as a half-open range in 0..size.
    static std::pair<int, int> Inside(int inset, int size)
    {
        const int64_t from = std::clamp<int64_t>(int64_t{inset} + 1, 0, size);
        const int64_t to = std::clamp<int64_t>(int64_t{size} - inset, from, size);
        return {static_cast<int>(from), static_cast<int>(to)};
    }

    bool Report() { return !m_report || m_report(m_done++, m_total); }

    // Row y of a horizontal band, k rows from its outer edge; the mitre shortens it
    // by xl at each end.
    bool Across(int y, int k, const FrameColor& color)
    {
        const int xl = SaturatedInt(k / m_layout.tanA + 0.5);
        const double weight = m_rows.Weight(k);
        const auto [from, to] = Inside(xl, m_image.width);
        if (from < to) m_fadeRow(m_image.Row(y) + from, to - from, MakeRowFade(color, weight));
        return Report();
    }

    // The left and right bands, u columns each, row by row, the rows spread over the
    // cores. Column k of a band, k
    // from its outer edge, covers the rows yl(k) < y < height - yl(k), and yl grows
    // with k, so each row holds a run of each band's outermost columns. The left band
    // goes over a pixel before the right one, as when each band is drawn whole.
    bool SideBands(int u)
    {
        const int w = m_image.width;
        const int h = m_image.height;
        std::vector<double> weights(static_cast<size_t>(u));
        std::vector<int> insets(static_cast<size_t>(u));
        for (int k = 0; k < u; ++k) {
            weights[static_cast<size_t>(k)] = m_columns.Weight(k);
            insets[static_cast<size_t>(k)] = SaturatedInt(k * m_layout.tanA + 0.5);
        }
        const ColumnFades left = MakeColumnFades(m_verticalColor, weights);
        const ColumnFades right = MakeColumnFades(m_verticalColor, {weights.rbegin(), weights.rend()});
        const FadeSpanLoop fade = ChosenFadeSpanLoop();
        ForEachRowBand(h, {}, [&](int first, int last) {
            for (int y = first; y < last; ++y) {
                const int reach = std::min(y, h - y);
                const auto columns =
                    static_cast<int>(std::lower_bound(insets.begin(), insets.end(), reach) - insets.begin());
                if (columns == 0) continue;
                fade(m_image.Row(y), columns, left, 0);
                fade(m_image.Row(y) + (w - columns), columns, right, u - columns);
            }
        });
        for (int i = 0; i < 2 * u; ++i) {
            if (!Report()) return false;
        }
        return true;
    }

    // The seams along the mitres, in the horizontal colour: the lines from row 0
    // ramp with y, the lines to the last row with the distance from it.
    void Mitres() const
    {
        const int64_t w = m_image.width;
        const int64_t h = m_image.height;
        const int64_t u = m_layout.u;
        const int64_t v = m_layout.v;
        const auto at = [](int64_t c) { return std::max<int64_t>(c, 0); };
        const auto fromBottom = [&](int x, int y) { Fade(x, y, m_horizontal, m_rows.Weight(y)); };
        const auto toTop = [&](int x, int y) {
            Fade(x, y, m_horizontal, m_rows.Weight(static_cast<int>(h - 1 - y)));
        };
        ForEachLinePoint(0, 0, at(u - 1), at(v - 1), m_image.width, m_image.height, fromBottom);
        ForEachLinePoint(at(w - 1), 0, at(w - u), at(v - 1), m_image.width, m_image.height, fromBottom);
        ForEachLinePoint(at(u - 1), at(h - v), 0, at(h - 1), m_image.width, m_image.height, toTop);
        ForEachLinePoint(at(w - u), at(h - v), at(w - 1), at(h - 1), m_image.width, m_image.height, toTop);
    }

    PixelRows m_image;
    FadingFrameLayout m_layout;
    const UnitReport& m_report;
    FrameColor m_horizontal;
    FrameColor m_firstColor;
    FrameColor m_verticalColor;
    FadeRowLoop m_fadeRow;
    Ramp m_rows{};
    Ramp m_columns{};
    int m_total = 0;
    int m_done = 0;
};

} // namespace

FadingFrameLayout FadingLayout(int width, int height, const FadingFrameSettings& settings)
{
    // Outside 1..89 degrees the tangent is 0, huge or negative and the bands lose
    // their shape.
    const int angle = std::clamp(settings.angle, 1, 89);
    const int steps = settings.steps == 0 ? 1 : settings.steps;
    const double f = settings.thick * 0.01 * std::min(width, height) * 0.5;
    const int t = SaturatedInt(f + 0.5);
    FadingFrameLayout layout{};
    layout.tanA = std::tan(angle * std::numbers::pi / 180);
    if (height <= width) {
        layout.v = t;
        layout.u = SaturatedInt(f / layout.tanA + 0.5);
    } else {
        layout.u = t;
        layout.v = SaturatedInt(f * layout.tanA + 0.5);
    }
    layout.sv = std::max(1, SaturatedInt(static_cast<double>(layout.v) / steps + 0.5));
    layout.su = std::max(1, SaturatedInt(static_cast<double>(layout.u) / steps + 0.5));
    layout.v = WholeRamps(layout.v, layout.sv);
    layout.u = WholeRamps(layout.u, layout.su);
    return layout;
}

bool DrawFadingFrame(const PixelRows& image, const FadingFrameSettings& settings, const UnitReport& report)
{
    return CFadeDrawing(image, settings, report).Run();
}

// After n major steps the accumulated error has moved the minor axis
// floor((2 n minor + major) / (2 major)) times, so the walk starts where the major
// axis enters the picture instead of stepping through billions of points outside.
void ForEachLinePoint(int64_t x0, int64_t y0, int64_t x1, int64_t y1, int width, int height,
                      const std::function<void(int x, int y)>& visit)
{
    const bool alongX = std::llabs(x1 - x0) >= std::llabs(y1 - y0);
    const int64_t major = alongX ? std::llabs(x1 - x0) : std::llabs(y1 - y0);
    const int64_t minor = alongX ? std::llabs(y1 - y0) : std::llabs(x1 - x0);
    const int64_t majorStart = alongX ? x0 : y0;
    const int64_t minorStart = alongX ? y0 : x0;
    const int64_t majorSign = (alongX ? x1 - x0 : y1 - y0) < 0 ? -1 : 1;
    const int64_t minorSign = (alongX ? y1 - y0 : x1 - x0) < 0 ? -1 : 1;
    const int64_t majorLimit = alongX ? width : height;
    const int64_t first = std::max<int64_t>(majorSign > 0 ? -majorStart : majorStart - (majorLimit - 1), 0);
    const int64_t last = std::min(majorSign > 0 ? majorLimit - 1 - majorStart : majorStart, major);
    for (int64_t n = first; n <= last; ++n) {
        // (2q + major) / (2 major) without the doubling, which could overflow.
        const int64_t q = n * minor;
        const int64_t moved = major == 0 ? 0 : q / major + (2 * (q % major) >= major ? 1 : 0);
        const int64_t a = majorStart + majorSign * n;
        const int64_t b = minorStart + minorSign * moved;
        const int64_t x = alongX ? a : b;
        const int64_t y = alongX ? b : a;
        if (x >= 0 && x < width && y >= 0 && y < height) visit(static_cast<int>(x), static_cast<int>(y));
    }
}

const char16_t* CFadingFrame::Name() const
{
    return kFadeFrameName;
}

bool CFadingFrame::ReadSettings(const CParamList& params)
{
    int inOut = 0;
    int horizontal = 0;
    int vertical = 0;
    FadingFrameSettings read;
    if (!params.GetInt(kFadeFrameThickKey, read.thick) || !params.GetInt(kFadeFrameIntensKey, read.intensity) ||
        !params.GetInt(kFadeFrameStepsKey, read.steps) || !params.GetInt(kFadeFrameAngleKey, read.angle) ||
        !params.GetInt(kFadeFrameInOutKey, inOut) || !params.GetInt(kFadeFrameHorColKey, horizontal) ||
        !params.GetInt(kFadeFrameVerColKey, vertical))
        return false;
    read.outerToInner = inOut != 0;
    read.horizontal = static_cast<uint32_t>(horizontal);
    read.vertical = static_cast<uint32_t>(vertical);
    m_settings = read;
    return true;
}

CFramePanel* CFadingFrame::CreatePanel(QWidget* parent) const
{
    return new CFadingFramePanel(parent);
}
