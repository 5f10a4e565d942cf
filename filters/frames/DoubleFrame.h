#pragma once
// The double frame: an outer band of the frame colour and, inside it, an inner band
// of the same colour at one and a half times the opacity. The inner band's lines run
// through the outer band to the edges, so the corners show crossing lines.

#include "filters/frames/FrameType.h"

#include <cstdint>

struct DoubleFrameSettings {
    int outerThick = 23;  // the whole frame, per cent of half the shorter side
    int innerThick = 18;  // the inner band, per cent of the whole frame
    int intensity = 55;   // opacity of the outer band, per cent
    uint32_t color = 0xFF0000;
};

// One report per row (position y, total height); a false answer stops the drawing.
bool DrawDoubleFrame(const PixelRows& image, const DoubleFrameSettings& settings, const UnitReport& report);

class CDoubleFrame final : public CKernelFrameType<DoubleFrameSettings, DrawDoubleFrame> {
public:
    const char16_t* Name() const override;
    bool ReadSettings(const CParamList& params) override;
    CFramePanel* CreatePanel(QWidget* parent) const override;
};
