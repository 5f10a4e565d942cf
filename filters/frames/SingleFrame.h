#pragma once
// The single frame: one band of the frame colour along every edge, the corner
// squares optionally at double opacity.

#include "filters/frames/FrameType.h"

#include <cstdint>

struct SingleFrameSettings {
    int thick = 25;       // per cent of half the shorter side
    int intensity = 40;   // opacity, per cent
    bool corner = true;   // the corner squares at twice the opacity, capped at 1
    uint32_t color = 0x7B7B7B;
};

// One report per row (position y, total height); a false answer stops the drawing.
bool DrawSingleFrame(const PixelRows& image, const SingleFrameSettings& settings, const UnitReport& report);

class CSingleFrame final : public CKernelFrameType<SingleFrameSettings, DrawSingleFrame> {
public:
    const char16_t* Name() const override;
    bool ReadSettings(const CParamList& params) override;
    CFramePanel* CreatePanel(QWidget* parent) const override;
};
