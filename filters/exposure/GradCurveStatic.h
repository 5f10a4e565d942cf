#pragma once
// The curve editor: the luminance histogram behind a natural cubic spline through
// control points. A click adds a point and drags it, the right button removes one,
// and a point dragged onto or past a neighbour goes. The first and the last point
// move only up and down, so the curve always spans every level.

#include "filters/exposure/ExposureKernel.h"

#include <QImage>
#include <QPoint>
#include <QWidget>

#include <functional>
#include <vector>

class CGradCurveStatic final : public QWidget {
public:
    explicit CGradCurveStatic(QWidget* parent);

    // The 256 luminance counts drawn behind the curve; null leaves it white.
    void SetBackground(const uint32_t* luminance);
    // Told after every rebuild of the curve.
    void SetChangeHandler(std::function<void()> changed) { m_changed = std::move(changed); }

    const CNaturalSpline& Curve() const { return m_curve; }
    // The control points in pixels of the present size.
    const std::vector<QPoint>& Points();
    // A curve through the given values, snapped to the control's pixels; false when
    // they make no curve, which leaves the points and empties the curve.
    bool LoadCurve(const std::vector<double>& x, const std::vector<double>& y);
    // The diagonal from (0, 0) to (255, 255).
    void Reset();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    static constexpr int kMarkerSize = 5;
    static constexpr int kHitReach = kMarkerSize / 2 + 1;

    void Rebuild();
    void FollowSize();
    int HitPoint(QPoint position) const;
    bool NearAnyColumn(int x) const;
    void MoveDragged(QPoint position);
    QPoint PixelOf(CurveValue value) const;
    CurveValue ValueOf(QPoint pixel) const;

    QImage m_background;
    QSize m_size;  // the size the points are placed for
    std::vector<QPoint> m_points;  // kept in x order
    CNaturalSpline m_curve;
    int m_dragged = -1;
    bool m_held = false;
    std::function<void()> m_changed;
};
