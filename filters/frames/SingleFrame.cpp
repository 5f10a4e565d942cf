#include "filters/frames/SingleFrame.h"

#include "filters/frames/FrameBlend.h"
#include "filters/frames/FramesSettings.h"
#include "filters/frames/SingleFramePanel.h"
#include "filters/shared/parallel/RowBands.h"

#include <algorithm>

bool DrawSingleFrame(const PixelRows& image, const SingleFrameSettings& settings, const UnitReport& report)
{
    const int width = image.width;
    const int height = image.height;
    const int t = HeldBand(FrameThickness(width, height, settings.thick), width, height);
    const FrameColor color = FrameColorOf(settings.color);
    const double a = settings.intensity / 100.0;
    const CFrameBlendTable side = CFrameBlendTable::Covering(color, a);
    const CFrameBlendTable corner =
        CFrameBlendTable::Covering(color, settings.corner ? std::min(1.0, 2 * a) : a);
    // A typed thickness above 100 makes the side bands meet; each pixel is still
    // blended once, the side test deciding its opacity.
    const int left = std::min(t, width);
    const int right = std::max(width - t, left);
    return ForEachRowBand(height, report, [&](int first, int last) {
        for (int y = first; y < last; ++y) {
            uint32_t* row = image.Row(y);
            const bool across = y < t || y >= height - t;
            const CFrameBlendTable& ends = across ? corner : side;
            BlendFrameSpan(row, 0, left, ends);
            if (across) BlendFrameSpan(row, left, right, side);
            BlendFrameSpan(row, right, width, ends);
        }
    });
}

const char16_t* CSingleFrame::Name() const
{
    return kSingleFrameName;
}

bool CSingleFrame::ReadSettings(const CParamList& params)
{
    int corner = 0;
    int color = 0;
    SingleFrameSettings read;
    if (!params.GetInt(kSingleFrameThickKey, read.thick) || !params.GetInt(kSingleFrameIntensityKey, read.intensity) ||
        !params.GetInt(kSingleFrameCornerKey, corner) || !params.GetInt(kSingleFrameColorKey, color))
        return false;
    read.corner = corner != 0;
    read.color = static_cast<uint32_t>(color);
    m_settings = read;
    return true;
}

CFramePanel* CSingleFrame::CreatePanel(QWidget* parent) const
{
    return new CSingleFramePanel(parent);
}
