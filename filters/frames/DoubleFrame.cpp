#include "filters/frames/DoubleFrame.h"

#include "filters/frames/DoubleFramePanel.h"
#include "filters/frames/FrameBlend.h"
#include "filters/frames/FramesSettings.h"
#include "filters/shared/parallel/RowBands.h"

#include <algorithm>

namespace {

// Column bounds of one row: [0, o) outer, [o, T) inner, [T, W - T) between,
// [W - T, W - o) inner, [W - o, W) outer. Held in 0..W and in order, so that a typed
// thickness above 100 still blends each pixel once.
struct Columns {
    int bound[6];

    Columns(int width, int o, int t)
    {
        bound[0] = 0;
        bound[1] = std::clamp(o, 0, width);
        bound[2] = std::clamp(t, bound[1], width);
        bound[3] = std::clamp(width - t, bound[2], width);
        bound[4] = std::clamp(width - o, bound[3], width);
        bound[5] = width;
    }
};

} // namespace

bool DrawDoubleFrame(const PixelRows& image, const DoubleFrameSettings& settings, const UnitReport& report)
{
    const int width = image.width;
    const int height = image.height;
    const int total = FrameThickness(width, height, settings.outerThick);
    const int inner = SaturatedInt(total / 100.0 * settings.innerThick);
    const int t = HeldBand(total, width, height);
    const int o = HeldBand(int64_t{total} - inner, width, height);
    const FrameColor color = FrameColorOf(settings.color);
    const double opacity = settings.intensity / 100.0;
    const CFrameBlendTable a = CFrameBlendTable::Covering(color, opacity);
    const CFrameBlendTable b = CFrameBlendTable::Covering(color, std::min(1.0, 1.5 * opacity));
    const Columns columns(width, o, t);
    const int* c = columns.bound;
    return ForEachRowBand(height, report, [&](int first, int last) {
        for (int y = first; y < last; ++y) {
            uint32_t* row = image.Row(y);
            const bool outerRow = y < o || y >= height - o;
            const bool innerRow = !outerRow && (y < t || y >= height - t);
            if (innerRow) {
                BlendFrameSpan(row, 0, width, b);
            } else {
                BlendFrameSpan(row, c[0], c[1], a);
                BlendFrameSpan(row, c[1], c[2], b);
                if (outerRow) BlendFrameSpan(row, c[2], c[3], a);
                BlendFrameSpan(row, c[3], c[4], b);
                BlendFrameSpan(row, c[4], c[5], a);
            }
        }
    });
}

const char16_t* CDoubleFrame::Name() const
{
    return kDoubleFrameName;
}

bool CDoubleFrame::ReadSettings(const CParamList& params)
{
    int color = 0;
    DoubleFrameSettings read;
    if (!params.GetInt(kOuterFrameThickKey, read.outerThick) || !params.GetInt(kInnerFrameThickKey, read.innerThick) ||
        !params.GetInt(kDblFrameIntensityKey, read.intensity) || !params.GetInt(kDblFrameColorKey, color))
        return false;
    read.color = static_cast<uint32_t>(color);
    m_settings = read;
    return true;
}

CFramePanel* CDoubleFrame::CreatePanel(QWidget* parent) const
{
    return new CDoubleFramePanel(parent);
}
