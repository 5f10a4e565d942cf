#include "filters/exposure/GradCurveStatic.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cstdlib>

CGradCurveStatic::CGradCurveStatic(QWidget* parent) : QWidget(parent)
{
    setMinimumSize(128, 128);
    // A point a level until the layout gives the real size: points loaded before then
    // keep whole levels instead of snapping to a coarser grid first.
    resize(kHistogramPictureSize, kHistogramPictureSize);
    m_size = size();
}

const std::vector<QPoint>& CGradCurveStatic::Points()
{
    FollowSize();
    return m_points;
}

// A hidden widget hears of its new size only when it is shown, so every use first
// moves the points from the size they were placed for to the present one.
void CGradCurveStatic::FollowSize()
{
    if (size() == m_size) return;
    if (m_size.width() >= 2 && m_size.height() >= 2) {
        for (QPoint& point : m_points) {
            const CurveValue value = CurveValueOfPixel({point.x(), point.y()}, m_size.width(), m_size.height());
            point = PixelOf(value);
        }
    }
    m_size = size();
}

void CGradCurveStatic::SetBackground(const uint32_t* luminance)
{
    if (luminance == nullptr) return;
    m_background = QImage(kHistogramPictureSize, kHistogramPictureSize, QImage::Format_RGB32);
    DrawHistogramPicture(luminance, reinterpret_cast<uint32_t*>(m_background.bits()));
    update();
}

QPoint CGradCurveStatic::PixelOf(CurveValue value) const
{
    const CurvePixel pixel = PixelOfCurveValue(value, width(), height());
    return {pixel.x, pixel.y};
}

CurveValue CGradCurveStatic::ValueOf(QPoint pixel) const
{
    return CurveValueOfPixel({pixel.x(), pixel.y()}, width(), height());
}

bool CGradCurveStatic::LoadCurve(const std::vector<double>& x, const std::vector<double>& y)
{
    FollowSize();
    CNaturalSpline loaded;
    if (!loaded.Build(x, y)) {
        // The points stay, but the curve is gone until they are moved: a text that
        // holds no curve is not shown as if it did.
        m_curve.Clear();
        update();
        return false;
    }
    m_points.clear();
    for (int k = 0; k < loaded.Count(); ++k) m_points.push_back(PixelOf({loaded.X(k), loaded.Y(k)}));
    m_dragged = -1;
    Rebuild();
    return true;
}

void CGradCurveStatic::Reset()
{
    FollowSize();
    m_points = {PixelOf({0.0, 0.0}), PixelOf({255.0, 255.0})};
    m_dragged = -1;
    Rebuild();
}

// Points that share a column make no curve: it stays empty until they part.
void CGradCurveStatic::Rebuild()
{
    if (m_points.size() < 2) return;
    std::stable_sort(m_points.begin(), m_points.end(), [](QPoint a, QPoint b) { return a.x() < b.x(); });
    std::vector<double> x;
    std::vector<double> y;
    for (const QPoint point : m_points) {
        const CurveValue value = ValueOf(point);
        x.push_back(value.x);
        y.push_back(value.y);
    }
    m_curve.Build(x, y);
    update();
    if (m_changed) m_changed();
}

void CGradCurveStatic::paintEvent(QPaintEvent*)
{
    FollowSize();
    QPainter painter(this);
    if (m_background.isNull()) painter.fillRect(rect(), Qt::white);
    else painter.drawImage(rect(), m_background);
    if (m_curve.IsValid()) {
        QPainterPath line;
        for (int column = 0; column <= width() - 2; ++column) {
            const double u = ValueOf({column, 0}).x;
            double v = 0.0;
            if (!m_curve.Evaluate(u, v)) v = 0.0;
            const QPoint point = PixelOf({u, std::clamp(v, 0.0, 255.0)});
            if (column == 0) line.moveTo(point);
            else line.lineTo(point);
        }
        painter.setPen(QPen(Qt::black, 1));
        painter.drawPath(line);
    }
    for (const QPoint point : m_points) {
        painter.fillRect(point.x() - kMarkerSize / 2, point.y() - kMarkerSize / 2, kMarkerSize, kMarkerSize,
                         Qt::black);
    }
}

int CGradCurveStatic::HitPoint(QPoint position) const
{
    for (size_t k = 0; k < m_points.size(); ++k) {
        if (std::abs(m_points[k].x() - position.x()) <= kHitReach &&
            std::abs(m_points[k].y() - position.y()) <= kHitReach) {
            return static_cast<int>(k);
        }
    }
    return -1;
}

bool CGradCurveStatic::NearAnyColumn(int x) const
{
    return std::any_of(m_points.begin(), m_points.end(),
                       [x](QPoint point) { return std::abs(point.x() - x) <= kHitReach; });
}

void CGradCurveStatic::mousePressEvent(QMouseEvent* event)
{
    FollowSize();
    const QPoint position = event->position().toPoint();
    const int hit = HitPoint(position);
    if (event->button() == Qt::RightButton) {
        if (hit >= 0 && m_points.size() > 2) {
            m_points.erase(m_points.begin() + hit);
            m_dragged = -1;
            Rebuild();
        }
        return;
    }
    if (event->button() != Qt::LeftButton) return;
    m_held = true;
    m_dragged = hit;
    if (hit >= 0 || NearAnyColumn(position.x())) return;
    m_points.push_back(position);
    Rebuild();
    const auto added = std::find(m_points.begin(), m_points.end(), position);
    m_dragged = static_cast<int>(added - m_points.begin());
}

void CGradCurveStatic::mouseMoveEvent(QMouseEvent* event)
{
    FollowSize();
    if (m_held && m_dragged >= 0) MoveDragged(event->position().toPoint());
}

// An inner point dragged onto or past a neighbour's column goes, while more than
// two remain; the ends keep their columns.
void CGradCurveStatic::MoveDragged(QPoint position)
{
    position.setX(std::clamp(position.x(), 0, width() - 1));
    position.setY(std::clamp(position.y(), 0, height() - 1));
    const size_t k = static_cast<size_t>(m_dragged);
    if (k == 0 || k + 1 == m_points.size()) {
        m_points[k].setY(position.y());
    } else if (position.x() <= m_points[k - 1].x() || position.x() >= m_points[k + 1].x()) {
        if (m_points.size() <= 2) return;
        m_points.erase(m_points.begin() + m_dragged);
        m_dragged = -1;
    } else {
        m_points[k] = position;
    }
    Rebuild();
}

void CGradCurveStatic::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) return;
    m_held = false;
}

void CGradCurveStatic::resizeEvent(QResizeEvent*)
{
    FollowSize();
    update();
}
