#include "filters/exposure/HistogramDisplayStatic.h"

#include "filters/exposure/ExposureKernel.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <cstdlib>

CHistogramDisplayStatic::CHistogramDisplayStatic(QWidget* parent) : QWidget(parent)
{
    setMinimumSize(110, 101);
}

void CHistogramDisplayStatic::SetHistograms(const uint32_t* counts)
{
    if (counts == nullptr) return;
    std::copy(counts, counts + kHistogramCountsSize, m_counts.begin());
    m_picture = QImage(kHistogramPictureSize, kHistogramPictureSize, QImage::Format_RGB32);
    DrawHistogramPicture(m_counts.data() + kLuminanceCounts * kHistogramLevels,
                         reinterpret_cast<uint32_t*>(m_picture.bits()));
    update();
}

void CHistogramDisplayStatic::SetLimits(int left, int right)
{
    m_left = left;
    m_right = right;
    update();
}

bool CHistogramDisplayStatic::AutofixLimits()
{
    if (m_picture.isNull()) return false;
    int left = m_left;
    int right = m_right;
    if (!FindAutomaticLimits(m_counts.data() + kLuminanceCounts * kHistogramLevels, left, right)) return false;
    SetLimits(left, right);
    if (m_changed) m_changed();
    return true;
}

void CHistogramDisplayStatic::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    if (m_picture.isNull()) painter.fillRect(rect(), Qt::white);
    else painter.drawImage(rect(), m_picture);
    painter.setPen(Qt::black);
    painter.setBrush(Qt::black);
    DrawMarker(painter, m_left);
    DrawMarker(painter, m_right);
}

// A line over the whole height with a triangle at either end pointing into the picture.
void CHistogramDisplayStatic::DrawMarker(QPainter& painter, int level) const
{
    const int x = ColumnOfLevel(level, width());
    const int top = 0;
    const int bottom = height() - 1;
    painter.drawLine(x, top, x, bottom);
    const QPoint upper[] = {{x, top + 10}, {x - 6, top}, {x + 6, top}};
    const QPoint lower[] = {{x, bottom - 10}, {x - 6, bottom}, {x + 6, bottom}};
    painter.drawPolygon(upper, 3);
    painter.drawPolygon(lower, 3);
}

int CHistogramDisplayStatic::LevelAt(const QMouseEvent* event) const
{
    return LevelOfColumn(event->position().toPoint().x(), width());
}

void CHistogramDisplayStatic::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) return;
    m_held = true;
    const int level = LevelAt(event);
    if (std::abs(level - m_left) < kGrabTolerance) m_drag = Drag::Left;
    else if (std::abs(level - m_right) < kGrabTolerance) m_drag = Drag::Right;
    else m_drag = Drag::None;
}

// The limits stay two levels apart, so the slope stays finite; every step stores,
// even one that moved nothing, as the preview follows the mouse.
void CHistogramDisplayStatic::mouseMoveEvent(QMouseEvent* event)
{
    if (!m_held || m_drag == Drag::None) return;
    const int level = LevelAt(event);
    if (m_drag == Drag::Left && level < m_right - 1) m_left = level;
    if (m_drag == Drag::Right && level > m_left + 1) m_right = level;
    update();
    if (m_changed) m_changed();
}

void CHistogramDisplayStatic::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) return;
    m_held = false;
    m_drag = Drag::None;
}
