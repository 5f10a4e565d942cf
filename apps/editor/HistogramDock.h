#pragma once
// The histogram of the picture the photo view shows: luminance and red, green and
// blue, redrawn as the live preview changes, with the ends marked where a channel
// has pixels clipped to black or to white.

#include "filters/shared/histograms/ChannelHistograms.h"

#include <QDockWidget>
#include <QImage>
#include <QTimer>

#include <array>

class CPhotoView;
class QLabel;

using LevelCounts = std::array<uint32_t, kHistogramCountsSize>;

// The counts of picture's levels, blocks as ChannelHistograms.h orders them; all
// zero for a null picture. Any format is counted as its 32-bit colours.
LevelCounts CountPictureLevels(const QImage& picture);

// The largest share of pixels, over red, green and blue, at level 0 (shadows) and at
// level 255 (highlights); 0 for no pixels.
struct ClippedShares {
    double shadows = 0.0;
    double highlights = 0.0;
};
ClippedShares ClippedSharesOf(const LevelCounts& counts);

class CHistogramDock : public QDockWidget {
    Q_OBJECT

public:
    CHistogramDock(CPhotoView* view, QWidget* parent);

    // Counts the view's shown picture now rather than once the event loop runs.
    void Refresh();
    const LevelCounts& Counts() const { return m_counts; }
    // The clipping line under the drawing.
    QString ClippingText() const;

private:
    CPhotoView* m_view;
    QWidget* m_graph;
    QLabel* m_clipping;
    LevelCounts m_counts{};
    // A preview sets several pictures at once; one count serves them.
    QTimer m_refreshTimer;
};
