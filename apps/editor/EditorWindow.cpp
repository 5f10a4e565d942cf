#include "apps/editor/EditorWindow.h"

#include "apps/editor/FilterPanel.h"
#include "apps/editor/FilterSession.h"
#include "apps/editor/HistogramDock.h"
#include "apps/editor/PhotoDocument.h"
#include "apps/editor/PhotoFactsDock.h"
#include "apps/editor/PhotoView.h"
#include "apps/editor/ProgressPanel.h"
#include "apps/editor/RecipeActions.h"
#include "apps/editor/RecordedStep.h"
#include "apps/editor/SaveFormats.h"
#include "apps/editor/StatusMessage.h"
#include "refhost/FilterCatalog.h"

#include "BasicFiltersVersion.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QSplitter>
#include <QStatusBar>
#include <QTimer>

#include <cmath>

namespace {

constexpr int kMessageMs = 5000;
constexpr QSize kInitialSize(1100, 760);

QString LocalFileOf(const QMimeData* data)
{
    if (data == nullptr || !data->hasUrls() || data->urls().isEmpty()) return QString();
    const QUrl url = data->urls().first();
    return url.isLocalFile() ? url.toLocalFile() : QString();
}

bool IsSameFile(const QString& a, const QString& b)
{
    const QString canonicalA = QFileInfo(a).canonicalFilePath();
    return !canonicalA.isEmpty() && canonicalA == QFileInfo(b).canonicalFilePath();
}

QString ResolutionText(IImage* image)
{
    int width = 0;
    int height = 0;
    int horizontal = 0;
    int vertical = 0;
    image->GetSize(&width, &height);
    image->GetResolution(&horizontal, &vertical);
    const QString size = QObject::tr("%1 x %2 px").arg(width).arg(height);
    if (horizontal <= 0) return size;
    return horizontal == vertical ? QObject::tr("%1, %2 dpi").arg(size).arg(horizontal)
                                  : QObject::tr("%1, %2 x %3 dpi").arg(size).arg(horizontal).arg(vertical);
}

} // namespace

CEditorWindow::CEditorWindow(const CFilterCatalog& catalog, QWidget* parent)
    : QMainWindow(parent),
      m_document(new CPhotoDocument(this)),
      m_view(new CPhotoView),
      m_panel(new CFilterPanel),
      m_progress(new CProgressPanel),
      m_sizeLabel(new QLabel),
      m_zoomLabel(new QLabel),
      m_previewKindLabel(new QLabel),
      m_histogram(new CHistogramDock(m_view, this)),
      m_runner(m_progress)
{
    auto* splitter = new QSplitter(Qt::Horizontal, this);
    splitter->addWidget(m_view);
    splitter->addWidget(m_panel);
    splitter->setStretchFactor(0, 1);
    splitter->setCollapsible(1, false);
    setCentralWidget(splitter);
    addDockWidget(Qt::LeftDockWidgetArea, new CPhotoFactsDock(m_document, this));
    addDockWidget(Qt::LeftDockWidgetArea, m_histogram);
    setAcceptDrops(true);
    resize(kInitialSize);

    BuildMenus(catalog);
    BuildStatusLine();
    connect(m_document, &CPhotoDocument::imageChanged, this, &CEditorWindow::ShowDocumentPicture);
    connect(m_document, &CPhotoDocument::opened, this, [this] {
        m_openedPicture = m_view->Picture();
        m_view->SetOriginal(m_openedPicture);
    });
    connect(m_document->History(), &QUndoStack::indexChanged, this, &CEditorWindow::UpdateActions);
    connect(m_document->History(), &QUndoStack::cleanChanged, this, &CEditorWindow::UpdateCaption);
    connect(m_panel, &CFilterPanel::accepted, this, &CEditorWindow::AcceptSession);
    connect(m_panel, &CFilterPanel::rejected, this, &CEditorWindow::EndSession);
    UpdateActions();
    UpdateCaption();
}

// The filter's dialog goes before the filter that made it, and the history, which
// outlives this part of the window, no longer reports to it.
CEditorWindow::~CEditorWindow()
{
    m_session.reset();
    m_document->History()->disconnect(this);
}

void CEditorWindow::BuildMenus(const CFilterCatalog& catalog)
{
    BuildFileMenu(catalog);
    BuildEditMenu();
    BuildViewMenu();
    QMenu* filters = menuBar()->addMenu(tr("F&ilters"));
    m_filterActions = CFilterMenuBuilder::Build(filters, catalog.Entries());
    for (const auto& [action, entry] : m_filterActions) {
        connect(action, &QAction::triggered, this, [this, entry = entry] { RunFilter(*entry); });
    }
    QMenu* help = menuBar()->addMenu(tr("&Help"));
    help->addAction(tr("&Keyboard Shortcuts"), QKeySequence::HelpContents, this, &CEditorWindow::ShowShortcuts);
    help->addAction(tr("&About BasicFilters Editor"), this, [this] {
        QMessageBox::about(this, tr("About BasicFilters Editor"),
                           tr("<b>BasicFilters Editor</b> %1<p>A photo editor around the BasicFilters "
                              "module of photo filters.<p>Qt %2").arg(QStringLiteral(BF_VERSION_TEXT), qVersion()));
    });
    help->addAction(tr("About &Qt"), qApp, &QApplication::aboutQt);
}

void CEditorWindow::BuildFileMenu(const CFilterCatalog& catalog)
{
    QMenu* file = menuBar()->addMenu(tr("&File"));
    file->addAction(tr("&Open..."), QKeySequence::Open, this, &CEditorWindow::ChooseAndOpen);
    m_saveAction = file->addAction(tr("&Save"), QKeySequence::Save, this, &CEditorWindow::Save);
    m_saveAsAction = file->addAction(tr("Save &As..."), QKeySequence::SaveAs, this, &CEditorWindow::SaveAs);
    file->addSeparator();
    m_recipes = new CRecipeActions(catalog, m_document, m_runner, m_settings, this);
    m_recipes->AddTo(file);
    connect(m_recipes, &CRecipeActions::message, this, [this](const QString& text) {
        statusBar()->showMessage(text, kMessageMs);
    });
    file->addSeparator();
    file->addAction(tr("&Quit"), QKeySequence::Quit, this, &QWidget::close);
}

void CEditorWindow::BuildEditMenu()
{
    QMenu* edit = menuBar()->addMenu(tr("&Edit"));
    m_undoAction = edit->addAction(tr("&Undo"), m_document->History(), &QUndoStack::undo);
    m_redoAction = edit->addAction(tr("&Redo"), m_document->History(), &QUndoStack::redo);
    // Every key the platform knows for them (Ctrl+Y and Ctrl+Shift+Z both redo).
    m_undoAction->setShortcuts(QKeySequence::Undo);
    m_redoAction->setShortcuts(QKeySequence::Redo);
}

void CEditorWindow::BuildViewMenu()
{
    QMenu* view = menuBar()->addMenu(tr("&View"));
    QAction* zoomIn = view->addAction(tr("Zoom &In"), m_view, &CPhotoView::ZoomIn);
    // Ctrl and = is Ctrl and + without Shift on most keyboards.
    zoomIn->setShortcuts(QKeySequence::keyBindings(QKeySequence::ZoomIn) << QKeySequence(Qt::CTRL | Qt::Key_Equal));
    m_viewActions = {
        zoomIn,
        view->addAction(tr("Zoom &Out"), QKeySequence::ZoomOut, m_view, &CPhotoView::ZoomOut),
        view->addAction(tr("&Fit to Window"), QKeySequence(Qt::CTRL | Qt::Key_0), m_view, &CPhotoView::FitToWindow),
        view->addAction(tr("&Actual Pixels (100 %)"), QKeySequence(Qt::CTRL | Qt::Key_1), m_view,
                        [this] { m_view->SetZoom(1.0); }),
    };
    view->addSeparator();
    // The keys other editors use: Y splits the view, the backslash flips to the original.
    m_splitAction = view->addAction(tr("&Split Before and After"), QKeySequence(Qt::Key_Y), m_view, &CPhotoView::SetSplit);
    m_splitAction->setCheckable(true);
    m_originalAction =
        view->addAction(tr("Show &Original"), QKeySequence(Qt::Key_Backslash), m_view, &CPhotoView::SetShowingOriginal);
    m_originalAction->setCheckable(true);
    m_viewActions.push_back(m_splitAction);
    m_viewActions.push_back(m_originalAction);
    view->addSeparator();
    view->addAction(m_histogram->toggleViewAction());
}

void CEditorWindow::BuildStatusLine()
{
    statusBar()->addPermanentWidget(m_progress);
    statusBar()->addPermanentWidget(m_previewKindLabel);
    statusBar()->addPermanentWidget(m_sizeLabel);
    statusBar()->addPermanentWidget(m_zoomLabel);
    connect(m_view, &CPhotoView::zoomChanged, this, [this](double zoom) {
        m_zoomLabel->setText(QStringLiteral("%1%").arg(std::lround(zoom * 100)));
    });
}

void CEditorWindow::UpdateActions()
{
    const bool hasPhoto = !m_document->IsEmpty();
    const bool free = !m_session;
    QUndoStack* history = m_document->History();
    m_saveAction->setEnabled(hasPhoto && free);
    m_saveAsAction->setEnabled(hasPhoto && free);
    m_undoAction->setEnabled(free && history->canUndo());
    m_redoAction->setEnabled(free && history->canRedo());
    m_undoAction->setText(history->canUndo() ? tr("&Undo %1").arg(history->undoText()) : tr("&Undo"));
    m_redoAction->setText(history->canRedo() ? tr("&Redo %1").arg(history->redoText()) : tr("&Redo"));
    for (QAction* action : m_viewActions) action->setEnabled(hasPhoto);
    m_recipes->Update(hasPhoto, free);
    for (const auto& [action, entry] : m_filterActions) {
        action->setEnabled(hasPhoto && free && entry->kind != FilterKind::Unavailable);
    }
}

QString CEditorWindow::PreviewKindText() const
{
    if (!m_session) return QString();
    return m_session->ShowsActualPixels() ? tr("Preview: actual pixels") : tr("Preview: reduced copy");
}

void CEditorWindow::UpdatePreviewKind()
{
    m_previewKindLabel->setText(PreviewKindText());
}

QStringList CEditorWindow::ShortcutLines() const
{
    QStringList lines;
    for (const QAction* menu : menuBar()->actions()) {
        if (menu->menu() == nullptr) continue;
        for (const QAction* action : menu->menu()->actions()) {
            if (action->shortcuts().isEmpty()) continue;
            QStringList keys;
            for (const QKeySequence& keySequence : action->shortcuts()) {
                keys << keySequence.toString(QKeySequence::NativeText);
            }
            QString text = action->text().remove(u'&');
            // The undo entries name the step they would undo; the list names the command.
            if (action == m_undoAction) text = tr("Undo");
            if (action == m_redoAction) text = tr("Redo");
            lines << text + u'\t' + keys.join(tr(" or "));
        }
    }
    return lines;
}

void CEditorWindow::ShowShortcuts()
{
    QString rows;
    for (const QString& line : ShortcutLines()) {
        const QStringList parts = line.split(u'\t');
        rows += QStringLiteral("<tr><td>%1</td><td>&nbsp;&nbsp;<b>%2</b></td></tr>")
                    .arg(parts[0].toHtmlEscaped(), parts[1].toHtmlEscaped());
    }
    QMessageBox::information(this, tr("Keyboard Shortcuts"), QStringLiteral("<table>%1</table>").arg(rows));
}

void CEditorWindow::UpdateCaption()
{
    setWindowFilePath(m_document->SavePath());
    setWindowModified(m_document->IsModified());
}

void CEditorWindow::ShowDocumentPicture()
{
    if (m_session) return;
    if (m_document->IsEmpty()) {
        m_view->Clear();
        return;
    }
    m_view->SetPicture(m_document->ScreenPicture());
    m_view->SetOriginal(m_openedPicture);
    m_sizeLabel->setText(ResolutionText(m_document->Image()));
}

bool CEditorWindow::OpenPhoto(const QString& path)
{
    if (m_runner.IsBusy() || !MayDiscardChanges()) return false;
    if (m_session) EndSession();
    QString error;
    if (!m_document->Open(path, error)) {
        QMessageBox::warning(this, tr("Open Photo"), error);
        return false;
    }
    m_overwriteAgreed = false;
    if (!m_document->Warnings().isEmpty()) {
        const QString problems = m_document->Warnings().join(tr("; "));
        const QString opened = tr("Opened %1, but %2").arg(QFileInfo(path).fileName(), problems);
        statusBar()->showMessage(opened, 3 * kMessageMs);
    }
    m_settings.SetLastFolder(QFileInfo(path).absolutePath());
    m_view->FitToWindow();
    UpdateActions();
    UpdateCaption();
    return true;
}

void CEditorWindow::ChooseAndOpen()
{
    const QString path = QFileDialog::getOpenFileName(
        this, tr("Open Photo"), m_settings.LastFolder(),
        tr("Photos (*.png *.jpg *.jpeg *.bmp *.tif *.tiff *.webp *.gif);;All files (*)"));
    if (!path.isEmpty()) OpenPhoto(path);
}

bool CEditorWindow::SaveTo(const QString& path, int quality)
{
    QString error;
    if (!m_document->Save(path, quality, error)) {
        QMessageBox::warning(this, tr("Save Photo"), error);
        return false;
    }
    UpdateCaption();
    QString saved = tr("Saved %1").arg(QFileInfo(path).fileName());
    if (!m_document->Warnings().isEmpty()) saved += tr(", but %1").arg(m_document->Warnings().join(tr("; ")));
    statusBar()->showMessage(saved, kMessageMs);
    return true;
}

void CEditorWindow::Save()
{
    const QString path = m_document->SavePath();
    const QString suffix = QFileInfo(path).suffix();
    if (!IsWritableSuffix(suffix)) {
        SaveAs();
        return;
    }
    if (!MayOverwrite(path)) return;
    SaveTo(path, TakesQuality(suffix) ? m_settings.SaveQuality() : -1);
}

void CEditorWindow::SaveAs()
{
    QString nameFilter;
    QString path = QFileDialog::getSaveFileName(this, tr("Save Photo As"), m_document->SavePath(),
                                                SaveNameFilters().join(QStringLiteral(";;")), &nameFilter);
    if (path.isEmpty()) return;
    if (!IsWritableSuffix(QFileInfo(path).suffix())) path += u'.' + SuffixOfNameFilter(nameFilter);
    const QString suffix = QFileInfo(path).suffix();
    int quality = -1;
    if (TakesQuality(suffix)) {
        bool chosen = false;
        quality = QInputDialog::getInt(this, tr("Save Photo As"), tr("Quality (0 to 100):"), m_settings.SaveQuality(),
                                       0, 100, 1, &chosen);
        if (!chosen) return;
        m_settings.SetSaveQuality(quality);
    }
    // The file dialog has already asked about replacing an existing file.
    if (IsSameFile(path, m_document->OpenedPath())) m_overwriteAgreed = true;
    SaveTo(path, quality);
}

bool CEditorWindow::MayOverwrite(const QString& path)
{
    if (m_overwriteAgreed || !IsSameFile(path, m_document->OpenedPath())) return true;
    const auto answer = QMessageBox::question(
        this, tr("Save Photo"),
        tr("Replace the original photo %1 with the edited one?").arg(QFileInfo(path).fileName()),
        QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
    m_overwriteAgreed = answer == QMessageBox::Yes;
    return m_overwriteAgreed;
}

bool CEditorWindow::MayDiscardChanges()
{
    if (!m_document->IsModified()) return true;
    const auto answer = QMessageBox::question(this, tr("Unsaved Changes"),
                                              tr("The photo has changes that are not saved. Save them first?"),
                                              QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel);
    if (answer == QMessageBox::Save) {
        Save();
        return !m_document->IsModified();
    }
    return answer == QMessageBox::Discard;
}

void CEditorWindow::RunFilter(const FilterEntry& entry)
{
    if (m_document->IsEmpty() || m_session || m_runner.IsBusy()) return;
    CComPtr<IFilter> filter;
    CComPtr<IStatus> status;
    if (!entry.factory->CreateFilter(m_document->Image(), filter.Receive(), status.Receive()) || !filter) {
        ShowStatus(this, status.Get());
        return;
    }
    if (auto interactive = CComPtr<IInteractiveFilter>::Query(filter.Get(), IID_IInteractiveFilter);
        interactive && filter->IsInteractive()) {
        StartSession(entry, interactive.Get());
        return;
    }
    CFilterRunner::Outcome outcome = m_runner.Run(filter.Get(), m_document->Image(), CFilterMenuBuilder::FilterName(entry));
    TakeOutcome(entry, outcome, RecordedStep(entry, WString(), QString()));
    CloseIfAsked();
}

void CEditorWindow::StartSession(const FilterEntry& entry, IInteractiveFilter* filter)
{
    m_panel->Open(CFilterMenuBuilder::FilterName(entry));
    m_session = std::make_unique<CFilterSession>(entry, filter, m_document->Image(), m_document->HasAlpha(), m_view,
                                                 m_settings);
    connect(m_session.get(), &CFilterSession::previewShown, this, [this](const QString& failure) {
        if (!failure.isEmpty()) statusBar()->showMessage(failure, kMessageMs);
        UpdatePreviewKind();
    });
    connect(m_session.get(), &CFilterSession::detailRefreshed, this, &CEditorWindow::UpdatePreviewKind);
    UpdateActions();
    CComPtr<IStatus> status;
    if (!m_session->Start(m_panel, status)) {
        EndSession();
        ShowStatus(this, status.Get());
    }
}

void CEditorWindow::AcceptSession()
{
    if (!m_session || m_runner.IsBusy()) return;
    const FilterEntry& entry = m_session->Entry();
    const QString shape = m_view->ShapeText();
    CFilterRunner::Outcome outcome = m_session->Accept(m_runner);
    // What the filter was given, as Accept remembered it before the filter ran.
    RecipeStep step = RecordedStep(entry, m_settings.FilterFormat(*entry.factory->GetID()), shape);
    // A failed or cancelled run leaves the dialog open, to try again or cancel.
    if (TakeOutcome(entry, outcome, std::move(step))) EndSession();
    CloseIfAsked();
}

void CEditorWindow::EndSession()
{
    m_session.reset();
    m_panel->Close();
    m_view->ResetTool();
    ShowDocumentPicture();
    UpdateActions();
    UpdatePreviewKind();
}

bool CEditorWindow::TakeOutcome(const FilterEntry& entry, CFilterRunner::Outcome& outcome, RecipeStep step)
{
    const QString name = CFilterMenuBuilder::FilterName(entry);
    if (outcome.result) {
        m_document->PushFilterResult(outcome.result.Get(), name, {std::move(step)});
        statusBar()->showMessage(tr("Applied %1").arg(name), kMessageMs);
        return true;
    }
    if (outcome.cancelledByUser) statusBar()->showMessage(tr("%1 cancelled").arg(name), kMessageMs);
    else if (outcome.status) ShowStatus(this, outcome.status.Get());
    else QMessageBox::warning(this, name, tr("%1 failed without saying why.").arg(name));
    return false;
}

void CEditorWindow::CloseIfAsked()
{
    if (m_closeWhenIdle) QTimer::singleShot(0, this, &QWidget::close);
}

void CEditorWindow::closeEvent(QCloseEvent* event)
{
    // A running filter first stops at its next step; the window closes after it.
    if (m_runner.IsBusy()) {
        m_closeWhenIdle = true;
        m_runner.RequestCancel();
        event->ignore();
        return;
    }
    m_closeWhenIdle = false;
    if (!MayDiscardChanges()) {
        event->ignore();
        return;
    }
    if (m_session) EndSession();
    event->accept();
}

void CEditorWindow::dragEnterEvent(QDragEnterEvent* event)
{
    if (!LocalFileOf(event->mimeData()).isEmpty()) event->acceptProposedAction();
}

void CEditorWindow::dropEvent(QDropEvent* event)
{
    const QString path = LocalFileOf(event->mimeData());
    if (path.isEmpty()) return;
    event->acceptProposedAction();
    // Not inside the drop: the questions OpenPhoto may ask would block the source.
    QTimer::singleShot(0, this, [this, path] { OpenPhoto(path); });
}
