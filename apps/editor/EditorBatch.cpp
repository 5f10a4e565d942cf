#include "apps/editor/EditorBatch.h"

#include "apps/editor/SaveFormats.h"
#include "Common/progress/ProgressBase.h"
#include "platform/ComPtr.h"
#include "refhost/PhotoBatch.h"
#include "refhost/RecipeChain.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QPointer>
#include <QProgressDialog>

#include <new>

namespace {

// Often enough for Cancel to be felt at once, rarely enough not to slow a filter.
constexpr qint64 kEventIntervalMs = 30;

// The sink each photo's filters report to: it keeps the dialog answering and tells
// the filters when Cancel was pressed.
class CDialogProgress final : public CProgressBase {
public:
    static CDialogProgress* Create(QProgressDialog* dialog) { return new (std::nothrow) CDialogProgress(dialog); }

    void SetText(const char16_t*) override { HandleEventsIfDue(); }
    bool Step(int, int) override
    {
        HandleEventsIfDue();
        return m_dialog && !m_dialog->wasCanceled();
    }
    void Finish(bool) override {}

private:
    explicit CDialogProgress(QProgressDialog* dialog) : m_dialog(dialog) {}
    ~CDialogProgress() override = default;

    void HandleEventsIfDue()
    {
        if (m_sinceEvents.isValid() && m_sinceEvents.elapsed() < kEventIntervalMs) return;
        QCoreApplication::processEvents();
        m_sinceEvents.start();
    }

    QPointer<QProgressDialog> m_dialog;
    QElapsedTimer m_sinceEvents;
};

QString ResultOf(const QString& photo, const QString& outFolder)
{
    const bool beside = QFileInfo(photo).absoluteDir() == QDir(outFolder);
    return QString::fromStdString(CPhotoBatch::ResultPath(photo.toStdString(),
                                                          beside ? std::string() : outFolder.toStdString(),
                                                          CPhotoBatch::kDefaultSuffix));
}

// One photo, counted in the report; a photo whose result exists is left alone.
void RunOne(const CRecipePlan& plan, const QString& photo, const QString& result, int quality,
            QProgressDialog& dialog, EditorBatchReport& report)
{
    if (QFileInfo::exists(result)) {
        ++report.skipped;
        return;
    }
    const auto progress = CComPtr<CDialogProgress>::Adopt(CDialogProgress::Create(&dialog));
    const int photoQuality = TakesQuality(QFileInfo(result).suffix()) ? quality : -1;
    const CRecipeChain::FileOutcome outcome =
        CRecipeChain::RunOnFile(plan, photo, result, photoQuality, progress.Get());
    if (outcome.cancelled) {
        report.cancelled = true;
    } else if (outcome.fault != CRecipeChain::Fault::None) {
        report.failures << QStringLiteral("%1: %2").arg(QFileInfo(photo).fileName(),
                                                        QString::fromStdString(outcome.error));
    } else {
        ++report.written;
    }
}

} // namespace

EditorBatchReport CEditorBatch::Run(const CRecipePlan& plan, const QStringList& photos, const QString& outFolder,
                                    int quality, QWidget* parent)
{
    EditorBatchReport report;
    QDir().mkpath(outFolder);
    QProgressDialog dialog(QCoreApplication::translate("CEditorBatch", "Running the recipe..."),
                           QCoreApplication::translate("CEditorBatch", "Cancel"), 0,
                           static_cast<int>(photos.size()), parent);
    dialog.setWindowModality(Qt::WindowModal);
    dialog.setMinimumDuration(0);
    dialog.setAutoClose(false);
    dialog.setAutoReset(false);
    for (qsizetype i = 0; i < photos.size() && !report.cancelled; ++i) {
        dialog.setValue(static_cast<int>(i));
        dialog.setLabelText(QCoreApplication::translate("CEditorBatch", "Photo %1 of %2: %3")
                                .arg(i + 1)
                                .arg(photos.size())
                                .arg(QFileInfo(photos[i]).fileName()));
        QCoreApplication::processEvents();
        if (dialog.wasCanceled()) {
            report.cancelled = true;
            break;
        }
        RunOne(plan, photos[i], ResultOf(photos[i], outFolder), quality, dialog, report);
    }
    dialog.setValue(static_cast<int>(photos.size()));
    return report;
}

QString CEditorBatch::Describe(const EditorBatchReport& report, int photoCount)
{
    QString text =
        QCoreApplication::translate("CEditorBatch", "%1 of %2 photos written.").arg(report.written).arg(photoCount);
    if (report.skipped > 0) {
        text += u' ' + QCoreApplication::translate("CEditorBatch", "%1 skipped: their results exist already.")
                           .arg(report.skipped);
    }
    if (report.cancelled) text += u' ' + QCoreApplication::translate("CEditorBatch", "Cancelled.");
    if (!report.failures.isEmpty()) {
        text += u'\n' + QCoreApplication::translate("CEditorBatch", "Failed:") + u'\n' + report.failures.join(u'\n');
    }
    return text;
}
