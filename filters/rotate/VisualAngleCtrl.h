#pragma once
// The rotation dialog's angle dial: a disc with a hand that points at the angle,
// 0 degrees up and 90 to the left, so that the hand leans the way the picture
// turns. Clicking or dragging on it sets the angle and tells the parent.

#include "platform/DialogMessage.h"

#include <QWidget>

// Posted to the parent after the user set the angle with the mouse.
inline constexpr unsigned kAngleDialMessage = kApplicationMessageBase + 0x6B;

class CVisualAngleCtrl final : public QWidget {
public:
    explicit CVisualAngleCtrl(QWidget* parent);

    // Whole degrees; 0 after a setting of 360.
    int Angle() const { return m_angle; }
    // Shows degrees without telling the parent: the dialog sets it itself.
    void SetAngle(int degrees);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    void TakeAngleFrom(QPoint point);

    int m_angle = 0;
};
