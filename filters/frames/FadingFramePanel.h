#pragma once
// The fading frame's controls: thickness, intensity, steps and angle trackbars, the
// two colour swatches with the buttons that copy one colour onto the other, and the
// direction check box.

#include "filters/frames/FramePanel.h"

#include <cstdint>

class QPushButton;

class CFadingFramePanel final : public CFramePanel {
public:
    explicit CFadingFramePanel(QWidget* parent);

    void Store(CParamList& params) const override;
    void Load(const CParamList& params) override;

    QSlider* Thickness() const { return m_thick; }
    QSlider* Intensity() const { return m_intensity; }
    QSlider* Steps() const { return m_steps; }
    QSlider* Angle() const { return m_angle; }
    CColorButton* Horizontal() const { return m_horizontal; }
    CColorButton* Vertical() const { return m_vertical; }
    QPushButton* HorizontalToVertical() const { return m_hToV; }
    QPushButton* VerticalToHorizontal() const { return m_vToH; }
    QCheckBox* OuterToInner() const { return m_outerToInner; }

protected:
    // Writes only when a colour differs from the one last written.
    void ColorPicked() override;

private:
    QSlider* m_thick;
    QSlider* m_intensity;
    QSlider* m_steps;
    QSlider* m_angle;
    CColorButton* m_horizontal;
    CColorButton* m_vertical;
    QPushButton* m_hToV;
    QPushButton* m_vToH;
    QCheckBox* m_outerToInner;
    mutable uint32_t m_storedHorizontal = 0;
    mutable uint32_t m_storedVertical = 0;
};
