#pragma once
// The double frame's controls: outer and inner thickness and intensity trackbars,
// and the colour swatch.

#include "filters/frames/FramePanel.h"

class CDoubleFramePanel final : public CFramePanel {
public:
    explicit CDoubleFramePanel(QWidget* parent);

    void Store(CParamList& params) const override;
    void Load(const CParamList& params) override;

    QSlider* Outer() const { return m_outer; }
    QSlider* Inner() const { return m_inner; }
    QSlider* Intensity() const { return m_intensity; }
    CColorButton* Color() const { return m_color; }

private:
    QSlider* m_outer;
    QSlider* m_inner;
    QSlider* m_intensity;
    CColorButton* m_color;
};
