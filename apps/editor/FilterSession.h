#pragma once
// One use of a filter with settings: its dialog in the side panel, its live preview
// in the photo view, and in the end its application to the whole photo. Settings
// the user accepted are remembered for the next use of the same filter.
//
// The preview filters a reduced copy of the photo. From 100 % on, the part of the
// full-size photo in view is shown as the whole photo will get it: a filter that
// works on each pixel's neighbourhood filters that part, with a margin wider than
// any such neighbourhood; any other filter is applied to the full photo and the
// part cut from its result. One that changes every pixel by what it estimates
// from the whole picture (Autofix) previews on the full photo at every zoom, each
// choice of settings once. A filter that writes what it estimated into its settings
// (Noise's levels) is previewed again with them, as the final apply will read them.

#include "apps/editor/EditorPreviewSite.h"
#include "apps/editor/FilterRunner.h"
#include "refhost/FilterCatalog.h"

#include <QHash>
#include <QImage>
#include <QObject>
#include <QTimer>

class CEditorSettings;
class CFilterPanel;
class CPhotoView;

class CFilterSession : public QObject {
    Q_OBJECT

public:
    // filter was created by entry's factory for photo; references are held.
    CFilterSession(const FilterEntry& entry, IInteractiveFilter* filter, IImage* photo, bool hasAlpha,
                   CPhotoView* view, CEditorSettings& settings, QObject* parent = nullptr);
    ~CFilterSession() override;
    CFilterSession(const CFilterSession&) = delete;
    CFilterSession& operator=(const CFilterSession&) = delete;

    // Puts the filter's dialog into panel, with the settings of its last use; false
    // (with the filter's status when it gave one) when the dialog cannot be made.
    bool Start(CFilterPanel* panel, CComPtr<IStatus>& status);
    // Remembers the settings and applies them to the whole photo.
    CFilterRunner::Outcome Accept(CFilterRunner& runner);

    const FilterEntry& Entry() const { return m_entry; }
    // The reduced copy of the photo that the preview filters.
    IImage* PreviewSource() const { return m_previewSource.Get(); }
    // Whether the view shows the filter's result in the photo's own pixels (the
    // part in view, or all of a photo small enough to preview whole).
    bool ShowsActualPixels() const { return m_showsActualPixels; }
    // A preview or a part of one is due to be made again.
    bool PreviewPending() const { return m_previewTimer.isActive() || m_detailTimer.isActive(); }

signals:
    // The view shows the filter's result on the preview copy (or, when the filter
    // failed on it, the unfiltered copy and failure names the reason).
    void previewShown(const QString& failure);
    // The part in view was filtered at full size again, or no longer is (after a
    // preview, a scroll or a zoom): ShowsActualPixels may have changed.
    void detailRefreshed();

private:
    void SchedulePreview();
    void RefreshPreview();
    // The part in view at full size, when the zoom and the filter allow it.
    void RefreshDetail();
    bool ShowDetail();
    QImage FilteredNeighbourhood(const QRect& visible);
    QImage CutFromWholePhotoResult(const QRect& visible);
    // Filters that estimate from the whole picture and then change every pixel by
    // the estimate (Autofix) preview on the full photo: no part or copy shows it.
    bool PreviewsWholePhoto() const;
    CComPtr<IImage> WholePhotoResult(CComPtr<IStatus>& status);
    bool ShowWholePhotoResult(CComPtr<IStatus>& status);
    void ShowPreview(IImage* picture);
    void OnShapeDrawn();
    void HandOverRememberedSettings(QWidget* dialog);

    const FilterEntry& m_entry;
    CComPtr<IInteractiveFilter> m_filter;
    CComPtr<IImage> m_photo;
    bool m_hasAlpha;
    CPhotoView* m_view;
    CEditorSettings& m_settings;
    CComPtr<IImage> m_previewSource;
    CComPtr<CEditorPreviewSite> m_site;
    // Settings changes come in bursts (a dragged slider); one preview serves a burst.
    QTimer m_previewTimer;
    // Scrolling moves the part in view many times a second; one detail serves a burst.
    QTimer m_detailTimer;
    bool m_applyingToPhoto = false;
    // The photo as a picture, cut into details and shown as the original.
    QImage m_photoPicture;
    // Results on the full photo by the settings text that made them.
    QHash<QString, CComPtr<IImage>> m_wholePhotoResults;
    bool m_showsActualPixels = false;
};
