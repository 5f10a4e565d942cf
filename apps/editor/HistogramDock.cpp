#include "apps/editor/HistogramDock.h"

#include "apps/editor/PhotoView.h"

#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QVBoxLayout>

#include <algorithm>

namespace {

constexpr QSize kGraphSize(256, 110);
constexpr int kMarkSize = 6;
const QColor kGraphBackground(36, 36, 40);
const QColor kLuminanceFill(200, 200, 200, 110);
const QColor kClippingMark(255, 64, 64);

uint32_t PixelCount(const LevelCounts& counts)
{
    uint32_t total = 0;
    for (int level = 0; level < kHistogramLevels; ++level) total += counts[kLuminanceCounts * kHistogramLevels + level];
    return total;
}

// The luminance filled, the colours as lines over it; the height follows the third
// largest count, so that one or two towering levels do not flatten the rest.
class CHistogramGraph : public QWidget {
public:
    CHistogramGraph(const LevelCounts& counts, QWidget* parent) : QWidget(parent), m_counts(counts)
    {
        setMinimumSize(kGraphSize);
        setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.fillRect(rect(), kGraphBackground);
        if (PixelCount(m_counts) == 0) return;
        uint32_t top = 1;
        for (int block = 0; block < 4; ++block) {
            top = std::max(top, ThirdLargestCount(m_counts.data() + block * kHistogramLevels));
        }
        painter.setRenderHint(QPainter::Antialiasing);
        painter.fillPath(Outline(kLuminanceCounts, top, true), kLuminanceFill);
        const QColor colours[] = {QColor(255, 80, 80), QColor(80, 220, 80), QColor(90, 140, 255)};
        for (int block : {kRedCounts, kGreenCounts, kBlueCounts}) {
            painter.setPen(QPen(colours[block], 1.2));
            painter.drawPath(Outline(block, top, false));
        }
        DrawClippingMarks(painter);
    }

private:
    QPainterPath Outline(int block, uint32_t top, bool closed) const
    {
        const double width = this->width();
        const double height = this->height();
        QPainterPath path;
        if (closed) path.moveTo(0, height);
        for (int level = 0; level < kHistogramLevels; ++level) {
            const double share = std::min(1.0, static_cast<double>(m_counts[block * kHistogramLevels + level]) / top);
            const QPointF point((level + 0.5) * width / kHistogramLevels, height - share * (height - kMarkSize));
            if (level == 0 && !closed) path.moveTo(point);
            else path.lineTo(point);
        }
        if (closed) path.lineTo(width, height);
        return path;
    }

    // A triangle in each top corner whose end has clipped pixels.
    void DrawClippingMarks(QPainter& painter) const
    {
        const ClippedShares clipped = ClippedSharesOf(m_counts);
        painter.setPen(Qt::NoPen);
        painter.setBrush(kClippingMark);
        const double right = width();
        if (clipped.shadows > 0) {
            painter.drawPolygon(QPolygonF({QPointF(0, 0), QPointF(2 * kMarkSize, 0), QPointF(0, 2 * kMarkSize)}));
        }
        if (clipped.highlights > 0) {
            painter.drawPolygon(
                QPolygonF({QPointF(right, 0), QPointF(right - 2 * kMarkSize, 0), QPointF(right, 2 * kMarkSize)}));
        }
    }

    const LevelCounts& m_counts;
};

QString Percent(double share)
{
    return QStringLiteral("%1 %").arg(share * 100, 0, 'f', share > 0 && share < 0.001 ? 2 : 1);
}

} // namespace

LevelCounts CountPictureLevels(const QImage& picture)
{
    LevelCounts counts{};
    if (picture.isNull()) return counts;
    // Bytes blue, green, red, fourth byte: the order the counting reads.
    const bool direct = picture.format() == QImage::Format_RGB32 || picture.format() == QImage::Format_ARGB32;
    const QImage colours = direct ? picture : picture.convertToFormat(QImage::Format_RGB32);
    // Counting only reads the rows.
    const PixelRows rows{const_cast<uint8_t*>(colours.constBits()), colours.bytesPerLine(), colours.width(),
                         colours.height()};
    CountChannelLevels(rows, counts.data(), UnitReport());
    return counts;
}

ClippedShares ClippedSharesOf(const LevelCounts& counts)
{
    const uint32_t total = PixelCount(counts);
    if (total == 0) return {};
    ClippedShares shares;
    for (int block : {kRedCounts, kGreenCounts, kBlueCounts}) {
        const uint32_t* levels = counts.data() + block * kHistogramLevels;
        shares.shadows = std::max(shares.shadows, static_cast<double>(levels[0]) / total);
        shares.highlights = std::max(shares.highlights, static_cast<double>(levels[kHistogramLevels - 1]) / total);
    }
    return shares;
}

CHistogramDock::CHistogramDock(CPhotoView* view, QWidget* parent)
    : QDockWidget(tr("Histogram"), parent), m_view(view), m_clipping(new QLabel)
{
    setObjectName(QStringLiteral("histogram"));
    auto* content = new QWidget(this);
    auto* layout = new QVBoxLayout(content);
    m_graph = new CHistogramGraph(m_counts, content);
    layout->addWidget(m_graph);
    layout->addWidget(m_clipping);
    layout->addStretch();
    setWidget(content);
    m_refreshTimer.setSingleShot(true);
    m_refreshTimer.setInterval(0);
    connect(&m_refreshTimer, &QTimer::timeout, this, &CHistogramDock::Refresh);
    connect(m_view, &CPhotoView::shownPictureChanged, &m_refreshTimer, qOverload<>(&QTimer::start));
}

void CHistogramDock::Refresh()
{
    m_refreshTimer.stop();
    m_counts = CountPictureLevels(m_view->ShownPicture());
    m_clipping->setText(ClippingText());
    m_graph->update();
}

QString CHistogramDock::ClippingText() const
{
    if (PixelCount(m_counts) == 0) return QString();
    const ClippedShares clipped = ClippedSharesOf(m_counts);
    return tr("Clipped: shadows %1, highlights %2").arg(Percent(clipped.shadows), Percent(clipped.highlights));
}
