#pragma once
// The single frame's controls: thickness and intensity trackbars, the colour swatch
// and the corner check box.

#include "filters/frames/FramePanel.h"

class CSingleFramePanel final : public CFramePanel {
public:
    explicit CSingleFramePanel(QWidget* parent);

    void Store(CParamList& params) const override;
    void Load(const CParamList& params) override;

    QSlider* Thickness() const { return m_thick; }
    QSlider* Intensity() const { return m_intensity; }
    CColorButton* Color() const { return m_color; }
    QCheckBox* Corner() const { return m_corner; }

private:
    QSlider* m_thick;
    QSlider* m_intensity;
    CColorButton* m_color;
    QCheckBox* m_corner;
};
