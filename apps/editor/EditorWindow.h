#pragma once
// The editor's main window: the photo, the filter menus the module's factories
// describe, the side panel for filters with settings, the status line with
// progress, undo and saving.

#include "Common/base/InteractiveInterfaces.h"
#include "apps/editor/EditorSettings.h"
#include "apps/editor/FilterMenuBuilder.h"
#include "apps/editor/FilterRunner.h"

#include <QImage>
#include <QMainWindow>

#include <memory>
#include <vector>

class CFilterCatalog;
class CFilterPanel;
class CFilterSession;
class CHistogramDock;
class CPhotoDocument;
class CPhotoView;
class CProgressPanel;
class CRecipeActions;
class QLabel;
struct RecipeStep;

class CEditorWindow : public QMainWindow {
    Q_OBJECT

public:
    // The catalog's factories must be initialized; it outlives the window.
    explicit CEditorWindow(const CFilterCatalog& catalog, QWidget* parent = nullptr);
    ~CEditorWindow() override;

    // Shows a message box when the photo cannot be read; the current photo stays.
    bool OpenPhoto(const QString& path);
    // Writes the photo as it is now; quality for JPEG and WebP, -1 for the default.
    bool SaveTo(const QString& path, int quality);

    CPhotoDocument* Document() const { return m_document; }
    CPhotoView* View() const { return m_view; }
    CFilterPanel* FilterPanel() const { return m_panel; }
    CProgressPanel* ProgressPanel() const { return m_progress; }
    CHistogramDock* Histogram() const { return m_histogram; }
    // Which preview the status line says is shown; empty without a dialog open.
    QString PreviewKindText() const;
    // The keyboard's commands as the Help menu lists them: "text<TAB>keys" each.
    QStringList ShortcutLines() const;
    // The filter whose dialog is open, if any.
    CFilterSession* Session() const { return m_session.get(); }
    CRecipeActions* Recipes() const { return m_recipes; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void BuildMenus(const CFilterCatalog& catalog);
    void BuildFileMenu(const CFilterCatalog& catalog);
    void BuildEditMenu();
    void BuildViewMenu();
    void BuildStatusLine();
    void UpdateActions();
    void UpdateCaption();
    void UpdatePreviewKind();
    void ShowShortcuts();
    void ShowDocumentPicture();

    void ChooseAndOpen();
    void Save();
    void SaveAs();
    bool MayOverwrite(const QString& path);
    // Asks what to do with unsaved changes; false when the user would rather stay.
    bool MayDiscardChanges();

    void RunFilter(const FilterEntry& entry);
    void StartSession(const FilterEntry& entry, IInteractiveFilter* filter);
    void AcceptSession();
    void EndSession();
    // Takes a successful result into the photo's history or tells why there is none.
    bool TakeOutcome(const FilterEntry& entry, CFilterRunner::Outcome& outcome, RecipeStep step);
    void CloseIfAsked();

    CEditorSettings m_settings;
    CPhotoDocument* m_document;
    CPhotoView* m_view;
    CFilterPanel* m_panel;
    CProgressPanel* m_progress;
    QLabel* m_sizeLabel;
    QLabel* m_zoomLabel;
    QLabel* m_previewKindLabel;
    CHistogramDock* m_histogram;
    // What the photo looked like when opened: the "before" once filters are applied.
    QImage m_openedPicture;
    CFilterRunner m_runner;
    CRecipeActions* m_recipes = nullptr;
    std::unique_ptr<CFilterSession> m_session;
    std::vector<CFilterMenuBuilder::FilterAction> m_filterActions;
    // The user agreed to overwrite the file the photo came from.
    bool m_overwriteAgreed = false;
    bool m_closeWhenIdle = false;

    QAction* m_saveAction = nullptr;
    QAction* m_saveAsAction = nullptr;
    QAction* m_undoAction = nullptr;
    QAction* m_redoAction = nullptr;
    std::vector<QAction*> m_viewActions;
    QAction* m_splitAction = nullptr;
    QAction* m_originalAction = nullptr;
};
