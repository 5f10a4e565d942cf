#include "apps/editor/PhotoView.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QScrollBar>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

namespace {

constexpr double kMinimumZoom = 1.0 / 64;
constexpr double kMaximumZoom = 32.0;
constexpr double kZoomStep = 1.25;
constexpr int kWheelNotch = 120;
constexpr int kScrollStep = 24;
const QColor kBackground(56, 56, 60);
const QColor kOutsideSelection(0, 0, 0, 110);
const QColor kLineColour(255, 214, 10);
constexpr double kPickRingRadius = 5.0;
// How near the divider (viewport pixels) a press takes hold of it.
constexpr int kDividerReach = 5;
constexpr double kDividerHandleRadius = 7.0;

} // namespace

CPhotoView::CPhotoView(QWidget* parent) : QAbstractScrollArea(parent)
{
    setFrameShape(QFrame::NoFrame);
    // The divider shows where it can be taken hold of.
    viewport()->setMouseTracking(true);
    ResetTool();
}

void CPhotoView::SetPicture(const QImage& picture, QSize photoSize)
{
    m_picture.picture = picture;
    m_picture.photoSize = photoSize;
    m_picture.scaled = QImage();
    m_detail = QImage();
    m_detailArea = QRect();
    const bool moved = photoSize != m_photoSize;
    if (moved) {
        m_photoSize = photoSize;
        if (m_fitting) m_zoom = FittingZoom();
    }
    UpdateScrollRanges();
    viewport()->update();
    emit shownPictureChanged();
    if (moved) emit visibleAreaChanged();
}

void CPhotoView::Clear()
{
    SetOriginal(QImage(), QSize());
    SetPicture(QImage(), QSize());
    ResetTool();
}

void CPhotoView::SetDetail(const QImage& detail, const QRect& area)
{
    m_detail = detail;
    m_detailArea = area;
    viewport()->update();
}

void CPhotoView::ClearDetail()
{
    SetDetail(QImage(), QRect());
}

QRect CPhotoView::VisiblePhotoRect() const
{
    if (m_photoSize.isEmpty()) return QRect();
    const QPointF first = PhotoPointAt(QPointF(0, 0));
    const QPointF last = PhotoPointAt(QPointF(viewport()->width(), viewport()->height()));
    const QRect seen(QPoint(static_cast<int>(std::floor(first.x())), static_cast<int>(std::floor(first.y()))),
                     QPoint(static_cast<int>(std::ceil(last.x())) - 1, static_cast<int>(std::ceil(last.y())) - 1));
    return seen.intersected(QRect(QPoint(0, 0), m_photoSize));
}

void CPhotoView::SetOriginal(const QImage& original, QSize photoSize)
{
    m_original = Layer{original, photoSize, QImage()};
    viewport()->update();
    if (m_split || m_showingOriginal) emit shownPictureChanged();
}

void CPhotoView::SetSplit(bool split)
{
    m_split = split;
    viewport()->update();
    emit shownPictureChanged();
}

void CPhotoView::SetShowingOriginal(bool showing)
{
    m_showingOriginal = showing;
    viewport()->update();
    emit shownPictureChanged();
}

void CPhotoView::SetDividerShare(double share)
{
    m_dividerShare = std::clamp(share, 0.0, 1.0);
    viewport()->update();
}

int CPhotoView::DividerX() const
{
    return static_cast<int>(std::lround(m_dividerShare * viewport()->width()));
}

const QImage& CPhotoView::ShownPicture() const
{
    return m_showingOriginal && !m_original.picture.isNull() ? m_original.picture : m_picture.picture;
}

void CPhotoView::ForgetScaledLayers()
{
    m_picture.scaled = QImage();
    m_original.scaled = QImage();
}

void CPhotoView::ViewMoved()
{
    viewport()->update();
    emit visibleAreaChanged();
}

void CPhotoView::FitToWindow()
{
    m_fitting = true;
    m_zoom = FittingZoom();
    ForgetScaledLayers();
    UpdateScrollRanges();
    emit zoomChanged(m_zoom);
    ViewMoved();
}

void CPhotoView::SetZoom(double zoom, QPointF anchor)
{
    const QPointF photoPoint = PhotoPointAt(anchor);
    m_zoom = std::clamp(zoom, kMinimumZoom, kMaximumZoom);
    m_fitting = false;
    ForgetScaledLayers();
    UpdateScrollRanges();
    ScrollTo(photoPoint * m_zoom - anchor);
    emit zoomChanged(m_zoom);
    ViewMoved();
}

void CPhotoView::SetZoom(double zoom)
{
    SetZoom(zoom, QRectF(viewport()->rect()).center());
}

void CPhotoView::ZoomIn()
{
    SetZoom(m_zoom * kZoomStep);
}

void CPhotoView::ZoomOut()
{
    SetZoom(m_zoom / kZoomStep);
}

QPointF CPhotoView::PhotoPointAt(QPointF viewportPoint) const
{
    return (viewportPoint - CanvasOrigin()) / m_zoom;
}

QPointF CPhotoView::ViewportPointOf(QPointF photoPoint) const
{
    return CanvasOrigin() + photoPoint * m_zoom;
}

void CPhotoView::RequestTool(int first, int second)
{
    const ToolRequest request = DecodeToolMode(first, second);
    if (request.clearShape) {
        m_selection.reset();
        m_line.reset();
        m_point.reset();
    }
    if (request.tool) SelectTool(*request.tool);
    viewport()->update();
}

void CPhotoView::SelectTool(PreviewTool tool)
{
    m_tool = tool;
    viewport()->setCursor(ToolCursor());
    viewport()->update();
}

Qt::CursorShape CPhotoView::ToolCursor() const
{
    return m_tool == PreviewTool::Pan ? Qt::OpenHandCursor : Qt::CrossCursor;
}

void CPhotoView::ResetTool()
{
    m_tool = PreviewTool::Pan;
    m_selection.reset();
    m_line.reset();
    m_point.reset();
    m_drag = Drag::None;
    viewport()->setCursor(Qt::OpenHandCursor);
    viewport()->update();
}

void CPhotoView::ProposeSelection(const QRect& selection)
{
    m_selection = ClampedToPhoto(selection.normalized());
    viewport()->update();
}

QString CPhotoView::ShapeText() const
{
    const QString pattern = QStringLiteral("%1 %2 %3 %4");
    if (m_tool == PreviewTool::Line) {
        return m_line ? pattern.arg(m_line->x1()).arg(m_line->y1()).arg(m_line->x2()).arg(m_line->y2()) : QString();
    }
    if (m_tool == PreviewTool::Point) {
        return m_point ? QStringLiteral("%1 %2").arg(m_point->x()).arg(m_point->y()) : QString();
    }
    if (!m_selection) return QString();
    return pattern.arg(m_selection->x())
        .arg(m_selection->y())
        .arg(m_selection->x() + m_selection->width())
        .arg(m_selection->y() + m_selection->height());
}

QSize CPhotoView::CanvasSize() const
{
    if (m_photoSize.isEmpty()) return QSize();
    return QSize(std::max(1, static_cast<int>(std::lround(m_photoSize.width() * m_zoom))),
                 std::max(1, static_cast<int>(std::lround(m_photoSize.height() * m_zoom))));
}

// A canvas smaller than the viewport sits in its middle; a larger one scrolls.
QPointF CPhotoView::CanvasOrigin() const
{
    const QSize canvas = CanvasSize();
    const QSize room = viewport()->size();
    const double x = canvas.width() < room.width() ? (room.width() - canvas.width()) / 2 : -horizontalScrollBar()->value();
    const double y = canvas.height() < room.height() ? (room.height() - canvas.height()) / 2 : -verticalScrollBar()->value();
    return QPointF(x, y);
}

double CPhotoView::FittingZoom() const
{
    if (m_photoSize.isEmpty()) return 1.0;
    // The room without scroll bars: a fitted photo needs none.
    const QSize room = maximumViewportSize();
    const double zoom = std::min(static_cast<double>(room.width()) / m_photoSize.width(),
                                 static_cast<double>(room.height()) / m_photoSize.height());
    return std::clamp(zoom, kMinimumZoom, kMaximumZoom);
}

void CPhotoView::UpdateScrollRanges()
{
    const QSize canvas = CanvasSize();
    const QSize room = viewport()->size();
    horizontalScrollBar()->setRange(0, std::max(0, canvas.width() - room.width()));
    verticalScrollBar()->setRange(0, std::max(0, canvas.height() - room.height()));
    horizontalScrollBar()->setPageStep(room.width());
    verticalScrollBar()->setPageStep(room.height());
    horizontalScrollBar()->setSingleStep(kScrollStep);
    verticalScrollBar()->setSingleStep(kScrollStep);
}

void CPhotoView::ScrollTo(QPointF offset)
{
    horizontalScrollBar()->setValue(static_cast<int>(std::lround(offset.x())));
    verticalScrollBar()->setValue(static_cast<int>(std::lround(offset.y())));
}

// Selections run between pixel edges: 0 is the photo's left or top edge, the width
// or height its right or bottom edge.
QPoint CPhotoView::PhotoEdgeAt(QPointF viewportPoint) const
{
    const QPointF point = PhotoPointAt(viewportPoint);
    return QPoint(std::clamp(static_cast<int>(std::lround(point.x())), 0, m_photoSize.width()),
                  std::clamp(static_cast<int>(std::lround(point.y())), 0, m_photoSize.height()));
}

// Lines join pixels: the one under the pointer.
QPoint CPhotoView::PhotoPixelAt(QPointF viewportPoint) const
{
    const QPointF point = PhotoPointAt(viewportPoint);
    return QPoint(std::clamp(static_cast<int>(std::floor(point.x())), 0, m_photoSize.width() - 1),
                  std::clamp(static_cast<int>(std::floor(point.y())), 0, m_photoSize.height() - 1));
}

QRect CPhotoView::ClampedToPhoto(QRect selection) const
{
    return selection.intersected(QRect(QPoint(0, 0), m_photoSize));
}

void CPhotoView::paintEvent(QPaintEvent*)
{
    QPainter painter(viewport());
    painter.fillRect(viewport()->rect(), kBackground);
    if (m_picture.picture.isNull()) {
        painter.setPen(palette().color(QPalette::Disabled, QPalette::Text));
        painter.drawText(viewport()->rect(), Qt::AlignCenter, tr("Open a photo with File > Open, or drop one here."));
        return;
    }
    const bool hasOriginal = !m_original.picture.isNull();
    if (hasOriginal && m_showingOriginal) {
        DrawLayer(painter, m_original);
    } else if (hasOriginal && m_split) {
        const int divider = DividerX();
        const QRect room = viewport()->rect();
        painter.save();
        painter.setClipRect(QRect(0, 0, divider, room.height()));
        DrawLayer(painter, m_original);
        painter.setClipRect(QRect(divider, 0, room.width() - divider, room.height()));
        DrawLayer(painter, m_picture);
        DrawDetail(painter);
        painter.restore();
        DrawDivider(painter);
    } else {
        DrawLayer(painter, m_picture);
        DrawDetail(painter);
    }
    DrawShape(painter);
}

void CPhotoView::DrawLayer(QPainter& painter, Layer& layer)
{
    const QSize canvas(std::max(1, static_cast<int>(std::lround(layer.photoSize.width() * m_zoom))),
                       std::max(1, static_cast<int>(std::lround(layer.photoSize.height() * m_zoom))));
    const QPointF origin = CanvasOrigin();
    const QImage& picture = layer.picture;
    if (canvas.width() < picture.width() && canvas.height() < picture.height()) {
        if (layer.scaled.size() != canvas) {
            layer.scaled = picture.scaled(canvas, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        }
        painter.drawImage(origin, layer.scaled);
        return;
    }
    // Enlarged a little (a preview) it is smoothed; enlarged a lot, pixels show as squares.
    painter.setRenderHint(QPainter::SmoothPixmapTransform, canvas.width() < 2 * picture.width());
    painter.drawImage(QRectF(origin, QSizeF(canvas)), picture);
}

// The detail is in the photo's own pixels, so from 100 % on it is drawn unsmoothed.
void CPhotoView::DrawDetail(QPainter& painter) const
{
    if (m_detail.isNull()) return;
    const QRectF target(ViewportPointOf(m_detailArea.topLeft()), QSizeF(m_detailArea.size()) * m_zoom);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, m_zoom < 1.0);
    painter.drawImage(target, m_detail);
}

// Two lines, light beside dark, readable on any photo, and a round handle halfway.
void CPhotoView::DrawDivider(QPainter& painter) const
{
    const int x = DividerX();
    const int height = viewport()->height();
    painter.save();
    painter.setPen(QPen(Qt::black, 1));
    painter.drawLine(x - 1, 0, x - 1, height);
    painter.setPen(QPen(Qt::white, 1));
    painter.drawLine(x, 0, x, height);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(Qt::white);
    painter.setPen(QPen(Qt::black, 1));
    painter.drawEllipse(QPointF(x, height / 2.0), kDividerHandleRadius, kDividerHandleRadius);
    painter.restore();
}

bool CPhotoView::IsNearDivider(QPointF viewportPoint) const
{
    return m_split && !m_showingOriginal && !m_original.picture.isNull() &&
           std::abs(viewportPoint.x() - DividerX()) <= kDividerReach;
}

void CPhotoView::DrawShape(QPainter& painter) const
{
    if (m_tool != PreviewTool::Line && m_tool != PreviewTool::Point && m_selection) {
        const QRectF shown(ViewportPointOf(m_selection->topLeft()),
                           ViewportPointOf(QPointF(m_selection->x() + m_selection->width(),
                                                   m_selection->y() + m_selection->height())));
        QPainterPath outside;
        outside.addRect(QRectF(CanvasOrigin(), QSizeF(CanvasSize())));
        outside.addRect(shown);
        painter.fillPath(outside, kOutsideSelection);
        painter.setPen(QPen(Qt::white, 1));
        painter.drawRect(shown);
        painter.setPen(QPen(Qt::black, 1, Qt::DashLine));
        painter.drawRect(shown);
    }
    if (m_tool == PreviewTool::Line && m_line) {
        const QPointF centre(0.5, 0.5);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(kLineColour, 2));
        painter.drawLine(ViewportPointOf(m_line->p1() + centre), ViewportPointOf(m_line->p2() + centre));
    }
    if (m_tool == PreviewTool::Point && m_point) {
        // A ring around the picked pixel, black inside white, visible on any colour.
        const QPointF at = ViewportPointOf(QPointF(*m_point) + QPointF(0.5, 0.5));
        const double radius = std::max(kPickRingRadius, m_zoom / 2);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(Qt::white, 3));
        painter.drawEllipse(at, radius, radius);
        painter.setPen(QPen(Qt::black, 1));
        painter.drawEllipse(at, radius, radius);
    }
}

void CPhotoView::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    if (m_fitting) {
        const double zoom = FittingZoom();
        if (zoom != m_zoom) {
            m_zoom = zoom;
            ForgetScaledLayers();
            emit zoomChanged(m_zoom);
        }
    }
    UpdateScrollRanges();
    ViewMoved();
}

void CPhotoView::scrollContentsBy(int, int)
{
    ViewMoved();
}

void CPhotoView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || m_picture.picture.isNull()) return;
    const QPointF at = event->position();
    m_dragStart = at;
    // The divider lies over the photo whatever the tool: taking hold of it comes first.
    if (IsNearDivider(at)) {
        m_drag = Drag::Divider;
        return;
    }
    m_selectionBefore = m_selection;
    m_lineBefore = m_line;
    switch (m_tool) {
    case PreviewTool::Pan:
        m_drag = Drag::Pan;
        m_scrollAtStart = QPointF(horizontalScrollBar()->value(), verticalScrollBar()->value());
        viewport()->setCursor(Qt::ClosedHandCursor);
        break;
    case PreviewTool::Rectangle:
        if (m_selection && QRectF(*m_selection).contains(PhotoPointAt(at))) {
            m_drag = Drag::MoveRectangle;
        } else {
            m_drag = Drag::DrawRectangle;
            m_dragAnchor = PhotoEdgeAt(at);
            m_selection = QRect(m_dragAnchor, QSize(0, 0));
        }
        break;
    case PreviewTool::Line:
        m_drag = Drag::DrawLine;
        m_dragAnchor = PhotoPixelAt(at);
        m_line = QLine(m_dragAnchor, m_dragAnchor);
        break;
    case PreviewTool::Point:
        m_drag = Drag::PickPoint;
        m_point = PhotoPixelAt(at);
        break;
    }
    viewport()->update();
}

void CPhotoView::mouseMoveEvent(QMouseEvent* event)
{
    const QPointF at = event->position();
    switch (m_drag) {
    case Drag::None:
        if (m_split) viewport()->setCursor(IsNearDivider(at) ? Qt::SplitHCursor : ToolCursor());
        return;
    case Drag::Divider:
        SetDividerShare(at.x() / std::max(1, viewport()->width()));
        return;
    case Drag::Pan:
        ScrollTo(m_scrollAtStart - (at - m_dragStart));
        break;
    case Drag::DrawRectangle: {
        const QPoint edge = PhotoEdgeAt(at);
        m_selection = QRect(QPoint(std::min(edge.x(), m_dragAnchor.x()), std::min(edge.y(), m_dragAnchor.y())),
                            QSize(std::abs(edge.x() - m_dragAnchor.x()), std::abs(edge.y() - m_dragAnchor.y())));
        break;
    }
    case Drag::MoveRectangle:
        m_selection = MovedWithinPhoto(*m_selectionBefore, (at - m_dragStart) / m_zoom);
        break;
    case Drag::DrawLine:
        m_line->setP2(PhotoPixelAt(at));
        break;
    case Drag::PickPoint:
        m_point = PhotoPixelAt(at);
        break;
    }
    viewport()->update();
}

void CPhotoView::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || m_drag == Drag::None) return;
    mouseMoveEvent(event);
    const Drag finished = std::exchange(m_drag, Drag::None);
    if (finished == Drag::Pan || finished == Drag::Divider) {
        viewport()->setCursor(IsNearDivider(event->position()) ? Qt::SplitHCursor : ToolCursor());
        return;
    }
    // Every pick counts, the same pixel again too: the filter may have moved on since.
    if (finished == Drag::PickPoint) {
        emit shapeDrawn();
        return;
    }
    // A click without a drag draws nothing and leaves the shape as it was.
    const bool drewNothing = (finished == Drag::DrawRectangle && m_selection->isEmpty()) ||
                             (finished == Drag::DrawLine && m_line->p1() == m_line->p2());
    if (drewNothing) {
        m_selection = m_selectionBefore;
        m_line = m_lineBefore;
        viewport()->update();
        return;
    }
    if (m_selection != m_selectionBefore || m_line != m_lineBefore) emit shapeDrawn();
}

QRect CPhotoView::MovedWithinPhoto(const QRect& selection, QPointF photoDelta) const
{
    const int dx = std::clamp(static_cast<int>(std::lround(photoDelta.x())), -selection.x(),
                              m_photoSize.width() - selection.x() - selection.width());
    const int dy = std::clamp(static_cast<int>(std::lround(photoDelta.y())), -selection.y(),
                              m_photoSize.height() - selection.y() - selection.height());
    return selection.translated(dx, dy);
}

void CPhotoView::wheelEvent(QWheelEvent* event)
{
    if (!(event->modifiers() & Qt::ControlModifier) || m_picture.picture.isNull()) {
        QAbstractScrollArea::wheelEvent(event);
        return;
    }
    const double notches = event->angleDelta().y() / static_cast<double>(kWheelNotch);
    SetZoom(m_zoom * std::pow(kZoomStep, notches), event->position());
    event->accept();
}
