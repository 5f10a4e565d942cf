#pragma once
// The photo on screen: fitted to the window or zoomed, scrolled, and the mouse tools
// a filter asks for. Everything it tells or is told about positions is in the
// photo's own pixels as a person sees it (x from the left, y from the top), whatever
// the zoom and whatever the size of the picture it currently draws (a preview may be
// smaller than the photo).

#include "apps/editor/PreviewTool.h"

#include <QAbstractScrollArea>
#include <QImage>
#include <QLine>
#include <QRect>

#include <optional>

class CPhotoView : public QAbstractScrollArea {
    Q_OBJECT

public:
    explicit CPhotoView(QWidget* parent = nullptr);

    // Draws picture stretched over a photo of photoSize pixels.
    void SetPicture(const QImage& picture, QSize photoSize);
    void SetPicture(const QImage& picture) { SetPicture(picture, picture.size()); }
    void Clear();
    const QImage& Picture() const { return m_picture; }
    QSize PhotoSize() const { return m_photoSize; }

    double Zoom() const { return m_zoom; }
    bool IsFitting() const { return m_fitting; }
    void FitToWindow();
    // Leaves fitting; keeps the photo point under anchor (viewport pixels) in place.
    void SetZoom(double zoom, QPointF anchor);
    void SetZoom(double zoom);
    void ZoomIn();
    void ZoomOut();

    QPointF PhotoPointAt(QPointF viewportPoint) const;
    QPointF ViewportPointOf(QPointF photoPoint) const;

    PreviewTool Tool() const { return m_tool; }
    // A filter's tool request (see PreviewTool.h).
    void RequestTool(int first, int second);
    // The host's own choice of tool, whatever the filter asks for.
    void SelectTool(PreviewTool tool);
    // Back to panning, with nothing drawn.
    void ResetTool();
    // Shows a selection (in photo pixels) that the user can redraw or move.
    void ProposeSelection(const QRect& selection);
    // The selection "left top right bottom" (right and bottom exclusive), with the
    // line tool the line "x1 y1 x2 y2", with the point tool the picked pixel "x y";
    // empty when nothing is drawn.
    QString ShapeText() const;
    // The pixel the point tool picked last, in photo pixels.
    std::optional<QPoint> PickedPoint() const { return m_point; }

signals:
    void zoomChanged(double zoom);
    // The user finished drawing or moving a selection or line, or picked a point.
    void shapeDrawn();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    enum class Drag { None, Pan, DrawRectangle, MoveRectangle, DrawLine, PickPoint };

    QSize CanvasSize() const;
    QPointF CanvasOrigin() const;
    double FittingZoom() const;
    void UpdateScrollRanges();
    void ScrollTo(QPointF offset);
    QPoint PhotoEdgeAt(QPointF viewportPoint) const;
    QPoint PhotoPixelAt(QPointF viewportPoint) const;
    QRect ClampedToPhoto(QRect selection) const;
    QRect MovedWithinPhoto(const QRect& selection, QPointF photoDelta) const;

    void DrawPicture(QPainter& painter);
    void DrawShape(QPainter& painter) const;
    const QImage& ScaledPicture();

    QImage m_picture;
    QSize m_photoSize;
    double m_zoom = 1.0;
    bool m_fitting = true;
    // The picture scaled down to the canvas, made once per zoom.
    QImage m_scaled;

    PreviewTool m_tool = PreviewTool::Pan;
    std::optional<QRect> m_selection;
    std::optional<QLine> m_line;
    std::optional<QPoint> m_point;

    Drag m_drag = Drag::None;
    QPointF m_dragStart;      // viewport pixels
    QPoint m_dragAnchor;      // photo pixels
    QPointF m_scrollAtStart;  // scroll bar values
    std::optional<QRect> m_selectionBefore;
    std::optional<QLine> m_lineBefore;
};
