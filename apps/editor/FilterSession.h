#pragma once
// One use of a filter with settings: its dialog in the side panel, its live preview
// in the photo view, and in the end its application to the whole photo. Settings
// the user accepted are remembered for the next use of the same filter.

#include "apps/editor/EditorPreviewSite.h"
#include "apps/editor/FilterRunner.h"
#include "refhost/FilterCatalog.h"

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

signals:
    // The view shows the filter's result on the preview copy (or, when the filter
    // failed on it, the unfiltered copy and failure names the reason).
    void previewShown(const QString& failure);

private:
    void SchedulePreview();
    void RefreshPreview();
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
    bool m_applyingToPhoto = false;
};
