#include "apps/editor/RecipeActions.h"

#include "apps/editor/EditorBatch.h"
#include "apps/editor/EditorSettings.h"
#include "apps/editor/FilterRunner.h"
#include "apps/editor/PhotoDocument.h"
#include "apps/editor/RecipeFilter.h"
#include "refhost/PhotoBatch.h"
#include "refhost/RecipePlan.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QMenu>
#include <QMessageBox>

namespace {

QString NameFilters()
{
    return QObject::tr("Recipes (*.txt *.recipe);;All files (*)");
}

bool LoadPlan(const QString& path, const CFilterCatalog& catalog, CRecipePlan& plan, QString& error)
{
    CRecipe recipe;
    std::string fault;
    if (!CRecipe::Read(path.toStdString(), recipe, fault) || !CRecipePlan::Make(recipe, catalog, plan, fault)) {
        error = QString::fromStdString(fault);
        return false;
    }
    return true;
}

QStringList PhotosOf(const QString& folder)
{
    QStringList photos;
    for (const std::string& photo : CPhotoBatch::PhotosIn(folder.toStdString(), CPhotoBatch::kDefaultSuffix)) {
        photos << QString::fromStdString(photo);
    }
    return photos;
}

} // namespace

CRecipeActions::CRecipeActions(const CFilterCatalog& catalog, CPhotoDocument* document, CFilterRunner& runner,
                               CEditorSettings& settings, QWidget* window)
    : QObject(window),
      m_catalog(catalog),
      m_document(document),
      m_runner(runner),
      m_settings(settings),
      m_window(window)
{
}

void CRecipeActions::AddTo(QMenu* menu)
{
    m_save = menu->addAction(tr("Save Steps as &Recipe..."), this, &CRecipeActions::ChooseAndSave);
    m_apply = menu->addAction(tr("A&pply Recipe..."), this, &CRecipeActions::ChooseAndApply);
    m_batch = menu->addAction(tr("&Batch..."), this, &CRecipeActions::ChooseAndBatch);
}

void CRecipeActions::Update(bool hasPhoto, bool free)
{
    if (m_save == nullptr) return;
    m_save->setEnabled(hasPhoto && free);
    m_apply->setEnabled(hasPhoto && free);
    m_batch->setEnabled(free);
}

bool CRecipeActions::SaveSteps(const QString& path, QString& error) const
{
    CRecipe recipe;
    for (RecipeStep& step : m_document->AppliedSteps()) recipe.Add(std::move(step));
    if (recipe.Steps().empty()) {
        error = tr("No filter has been applied to the photo yet.");
        return false;
    }
    std::string fault;
    if (recipe.Write(path.toStdString(), fault)) return true;
    error = QString::fromStdString(fault);
    return false;
}

bool CRecipeActions::ApplyRecipe(const QString& path, QString& error)
{
    CRecipePlan plan;
    if (m_document->IsEmpty() || m_runner.IsBusy() || !LoadPlan(path, m_catalog, plan, error)) return false;
    const auto filter = CComPtr<CRecipeFilter>::Adopt(CRecipeFilter::Create(plan, m_document->HasAlpha()));
    const QString name = tr("Recipe %1").arg(QFileInfo(path).fileName());
    CFilterRunner::Outcome outcome = m_runner.Run(filter.Get(), m_document->Image(), name);
    if (!outcome.result) {
        error = outcome.cancelledByUser ? QString() : QString::fromStdString(filter->Error());
        return false;
    }
    m_document->PushFilterResult(outcome.result.Get(), name, plan.RecipeSteps());
    return true;
}

QString CRecipeActions::ChooseRecipe(const QString& title)
{
    const QString path = QFileDialog::getOpenFileName(m_window, title, m_settings.LastFolder(), NameFilters());
    if (!path.isEmpty()) m_settings.SetLastFolder(QFileInfo(path).absolutePath());
    return path;
}

void CRecipeActions::ChooseAndSave()
{
    const QString path = QFileDialog::getSaveFileName(m_window, tr("Save Steps as Recipe"), m_settings.LastFolder(),
                                                      NameFilters());
    if (path.isEmpty()) return;
    QString error;
    if (!SaveSteps(path, error)) {
        QMessageBox::warning(m_window, tr("Save Steps as Recipe"), error);
        return;
    }
    emit message(tr("Saved the steps as %1").arg(QFileInfo(path).fileName()));
}

void CRecipeActions::ChooseAndApply()
{
    const QString path = ChooseRecipe(tr("Apply Recipe"));
    if (path.isEmpty()) return;
    QString error;
    if (ApplyRecipe(path, error)) {
        emit message(tr("Applied the recipe %1").arg(QFileInfo(path).fileName()));
    } else if (error.isEmpty()) {
        emit message(tr("Recipe cancelled"));
    } else {
        QMessageBox::warning(m_window, tr("Apply Recipe"), error);
    }
}

void CRecipeActions::ChooseAndBatch()
{
    const QString recipe = ChooseRecipe(tr("Batch: Choose the Recipe"));
    if (recipe.isEmpty()) return;
    CRecipePlan plan;
    QString error;
    if (!LoadPlan(recipe, m_catalog, plan, error)) {
        QMessageBox::warning(m_window, tr("Batch"), error);
        return;
    }
    const QString folder = QFileDialog::getExistingDirectory(m_window, tr("Batch: Choose the Folder of Photos"),
                                                             m_settings.LastFolder());
    if (folder.isEmpty()) return;
    const QStringList photos = PhotosOf(folder);
    if (photos.isEmpty()) {
        QMessageBox::information(m_window, tr("Batch"), tr("There are no photos in %1.").arg(folder));
        return;
    }
    // The photos' own folder is allowed: the results then get a suffix, never
    // replacing a photo.
    const QString results = QFileDialog::getExistingDirectory(
        m_window, tr("Batch: Choose the Folder for the Results (the photos' own: names get \"%1\")")
                      .arg(QString::fromUtf8(CPhotoBatch::kDefaultSuffix)),
        folder);
    if (results.isEmpty()) return;
    const EditorBatchReport report = CEditorBatch::Run(plan, photos, results, m_settings.SaveQuality(), m_window);
    const QString summary = CEditorBatch::Describe(report, static_cast<int>(photos.size()));
    if (report.failures.isEmpty()) QMessageBox::information(m_window, tr("Batch"), summary);
    else QMessageBox::warning(m_window, tr("Batch"), summary);
}
