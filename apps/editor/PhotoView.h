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

    // Draws picture stretched over a photo of photoSize pixels; drops the detail.
    void SetPicture(const QImage& picture, QSize photoSize);
    void SetPicture(const QImage& picture) { SetPicture(picture, picture.size()); }
    void Clear();
    const QImage& Picture() const { return m_picture.picture; }
    QSize PhotoSize() const { return m_photoSize; }
    // A part of the photo in its full size, drawn over the picture at area (photo
    // pixels), until the next SetPicture or ClearDetail.
    void SetDetail(const QImage& detail, const QRect& area);
    void ClearDetail();
    QRect DetailArea() const { return m_detailArea; }
    // The photo pixels the viewport shows, whole or in part.
    QRect VisiblePhotoRect() const;

    // Before and after. The original is drawn at the same zoom and scroll as the
    // picture, over a photo of photoSize pixels: left of the divider in the split
    // view, everywhere while the original is shown.
    void SetOriginal(const QImage& original, QSize photoSize);
    void SetOriginal(const QImage& original) { SetOriginal(original, original.size()); }
    const QImage& Original() const { return m_original.picture; }
    bool IsSplit() const { return m_split; }
    void SetSplit(bool split);
    bool IsShowingOriginal() const { return m_showingOriginal; }
    void SetShowingOriginal(bool showing);
    // The divider's place as a share of the viewport's width, 0 to 1.
    double DividerShare() const { return m_dividerShare; }
    void SetDividerShare(double share);
    // The viewport column where the original ends and the picture begins.
    int DividerX() const;
    // What the user looks at: the original while it is shown, else the picture.
    const QImage& ShownPicture() const;

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
    // Zoomed, scrolled or resized: another part of the photo is in view.
    void visibleAreaChanged();
    // The picture, the original or which of them is shown changed.
    void shownPictureChanged();
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
    enum class Drag { None, Pan, DrawRectangle, MoveRectangle, DrawLine, PickPoint, Divider };

    // A picture stretched over a photo size, and its reduction to the canvas, made
    // once per zoom.
    struct Layer {
        QImage picture;
        QSize photoSize;
        QImage scaled;
    };

    QSize CanvasSize() const;
    QPointF CanvasOrigin() const;
    double FittingZoom() const;
    void UpdateScrollRanges();
    void ScrollTo(QPointF offset);
    QPoint PhotoEdgeAt(QPointF viewportPoint) const;
    QPoint PhotoPixelAt(QPointF viewportPoint) const;
    QRect ClampedToPhoto(QRect selection) const;
    QRect MovedWithinPhoto(const QRect& selection, QPointF photoDelta) const;

    void DrawLayer(QPainter& painter, Layer& layer);
    void DrawDetail(QPainter& painter) const;
    void DrawDivider(QPainter& painter) const;
    void DrawShape(QPainter& painter) const;
    bool IsNearDivider(QPointF viewportPoint) const;
    Qt::CursorShape ToolCursor() const;
    void ForgetScaledLayers();
    void ViewMoved();

    Layer m_picture;
    Layer m_original;
    QSize m_photoSize;
    QImage m_detail;
    QRect m_detailArea;
    double m_zoom = 1.0;
    bool m_fitting = true;
    bool m_split = false;
    bool m_showingOriginal = false;
    double m_dividerShare = 0.5;

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
