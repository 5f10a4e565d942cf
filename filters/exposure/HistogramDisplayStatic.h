#pragma once
// The luminance histogram of the photo with two limit markers to drag: the levels
// between them are stretched over the whole range.

#include "filters/shared/histograms/ChannelHistograms.h"

#include <QImage>
#include <QWidget>

#include <array>
#include <functional>

class CHistogramDisplayStatic final : public QWidget {
public:
    explicit CHistogramDisplayStatic(QWidget* parent);

    // Keeps a copy and draws its picture; null leaves the control blank.
    void SetHistograms(const uint32_t* counts);
    // Told after every change the user makes (a drag step or the automatic limits).
    void SetChangeHandler(std::function<void()> changed) { m_changed = std::move(changed); }

    int LeftLimit() const { return m_left; }
    int RightLimit() const { return m_right; }
    void SetLimits(int left, int right);
    // The automatic limits; false when the histogram gives none, nothing changed.
    bool AutofixLimits();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    enum class Drag { None, Left, Right };
    static constexpr int kGrabTolerance = 5;

    int LevelAt(const QMouseEvent* event) const;
    void DrawMarker(QPainter& painter, int level) const;

    std::array<uint32_t, kHistogramCountsSize> m_counts{};
    QImage m_picture;
    int m_left = 0;
    int m_right = 255;
    bool m_held = false;
    Drag m_drag = Drag::None;
    std::function<void()> m_changed;
};
