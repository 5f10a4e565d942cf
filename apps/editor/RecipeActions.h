#pragma once
// The File menu's recipe entries: the filters applied to the open photo saved as a
// recipe, a recipe applied to it as one step that Undo takes back, and a recipe run
// over a folder of photos.

#include <QObject>
#include <QString>

class CEditorSettings;
class CFilterCatalog;
class CFilterRunner;
class CPhotoDocument;
class QAction;
class QMenu;
class QWidget;

class CRecipeActions : public QObject {
    Q_OBJECT

public:
    // All are the window's and outlive these entries; window parents the dialogs.
    CRecipeActions(const CFilterCatalog& catalog, CPhotoDocument* document, CFilterRunner& runner,
                   CEditorSettings& settings, QWidget* window);

    void AddTo(QMenu* menu);
    // The entries that work on the open photo need one, and no filter running.
    void Update(bool hasPhoto, bool free);

    // The work of the entries, after their file dialogs. False with a message (empty
    // when the user cancelled).
    bool SaveSteps(const QString& path, QString& error) const;
    bool ApplyRecipe(const QString& path, QString& error);

signals:
    // A line for the status bar.
    void message(const QString& text);

private:
    void ChooseAndSave();
    void ChooseAndApply();
    void ChooseAndBatch();
    QString ChooseRecipe(const QString& title);

    const CFilterCatalog& m_catalog;
    CPhotoDocument* m_document;
    CFilterRunner& m_runner;
    CEditorSettings& m_settings;
    QWidget* m_window;
    QAction* m_save = nullptr;
    QAction* m_apply = nullptr;
    QAction* m_batch = nullptr;
};
