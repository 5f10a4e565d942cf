#pragma once
// The fading frame: four bands along the edges, top and bottom in one colour, left
// and right in another, meeting along mitre lines at a set angle. Across each band
// the colour fades in one or more repeated ramps.

#include "filters/frames/FrameType.h"

#include <cstdint>
#include <functional>

struct FadingFrameSettings {
    int thick = 25;        // per cent of half the shorter side
    int intensity = 80;    // the largest share of the picture a ramp keeps, per cent
    int steps = 1;         // ramps across a band
    int angle = 45;        // mitre angle in degrees
    bool outerToInner = true;  // the colour strongest at the outer side of each ramp
    uint32_t horizontal = 0x78FF8E;
    uint32_t vertical = 0x5871FF;
};

// Band sizes and ramps worked out from the settings for one picture size.
struct FadingFrameLayout {
    double tanA;
    int u;   // columns of the left and right bands
    int v;   // rows of the first and last bands
    int su;  // columns of one ramp
    int sv;  // rows of one ramp
};

FadingFrameLayout FadingLayout(int width, int height, const FadingFrameSettings& settings);

// One report per band row and per band column inside the picture; a false answer
// stops the drawing. Row 0 is the first in memory (the bottom of the picture).
bool DrawFadingFrame(const PixelRows& image, const FadingFrameSettings& settings, const UnitReport& report);

// The points of the line from (x0, y0) to (x1, y1), both ends included: one pixel
// along the major axis per step, one along the minor axis whenever twice the
// accumulated minor difference reaches the major difference. visit gets each point
// inside 0..width-1, 0..height-1 in order from the start.
void ForEachLinePoint(int64_t x0, int64_t y0, int64_t x1, int64_t y1, int width, int height,
                      const std::function<void(int x, int y)>& visit);

class CFadingFrame final : public CKernelFrameType<FadingFrameSettings, DrawFadingFrame> {
public:
    const char16_t* Name() const override;
    bool ReadSettings(const CParamList& params) override;
    CFramePanel* CreatePanel(QWidget* parent) const override;
};
