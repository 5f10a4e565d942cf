#include "filters/rotate/VisualAngleCtrl.h"

#include "Common/dialogs/ColorValue.h"

#include <QMouseEvent>
#include <QPainter>

#include <cmath>
#include <numbers>

namespace {

constexpr uint32_t kDiscColor = 0x00FFDCDC;
constexpr int kHandInset = 4;
constexpr int kKnobRadius = 2;

} // namespace

CVisualAngleCtrl::CVisualAngleCtrl(QWidget* parent) : QWidget(parent) {}

void CVisualAngleCtrl::SetAngle(int degrees)
{
    m_angle = degrees == 360 ? 0 : degrees;
    update();
}

// Square, about the height of the rotation dialog's angle rows.
QSize CVisualAngleCtrl::sizeHint() const
{
    return {64, 64};
}

// The hand's length follows the height, so a wide control keeps it on the disc.
void CVisualAngleCtrl::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Window));
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(ColorOfValue(kDiscColor));
    painter.drawEllipse(QRect(0, 0, width() - 1, height() - 1));

    const int cx = width() / 2;
    const int cy = height() / 2;
    const int radius = cy - kHandInset;
    const double angle = m_angle * std::numbers::pi / 180;
    const QPoint tip(cx - static_cast<int>(radius * std::sin(angle)), cy - static_cast<int>(radius * std::cos(angle)));
    painter.drawLine(QPoint(cx, cy), tip);
    painter.drawEllipse(tip, kKnobRadius, kKnobRadius);
}

void CVisualAngleCtrl::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) TakeAngleFrom(event->position().toPoint());
}

// Dragging turns the hand with the mouse.
void CVisualAngleCtrl::mouseMoveEvent(QMouseEvent* event)
{
    if (event->buttons() & Qt::LeftButton) TakeAngleFrom(event->position().toPoint());
}

// The angle between straight up and the point, counted anticlockwise. The centre
// itself has no direction and changes nothing.
void CVisualAngleCtrl::TakeAngleFrom(QPoint point)
{
    const int cx = width() / 2;
    const int cy = height() / 2;
    const double dx = point.x() - cx;
    const double dy = point.y() - cy;
    const double distance = std::sqrt(dx * dx + dy * dy);
    if (distance == 0.0) return;
    const double t = std::acos((cy - point.y()) / distance);
    const double turn = point.x() < cx ? t : 2 * std::numbers::pi - t;
    SetAngle(static_cast<int>(turn * 180 / std::numbers::pi));
    if (parentWidget() != nullptr) PostDialogMessage(parentWidget(), kAngleDialMessage);
}
