#pragma once
// A recipe run over many photos from the editor: one photo after another, each read,
// run and written on its own, with a progress dialog whose Cancel stops the photo
// under way (nothing of it is written) and the ones after it.

#include "refhost/RecipePlan.h"

#include <QString>
#include <QStringList>

class QWidget;

struct EditorBatchReport {
    int written = 0;
    int skipped = 0;          // results that existed already
    QStringList failures;     // "photo: reason", one a photo
    bool cancelled = false;
};

class CEditorBatch {
public:
    // Results go into outFolder under the photos' names, or beside them with the
    // batch suffix when outFolder is the photo's own folder. quality is the editor's
    // for formats that take one.
    static EditorBatchReport Run(const CRecipePlan& plan, const QStringList& photos, const QString& outFolder,
                                 int quality, QWidget* parent);

    // The report in a few lines for a message box.
    static QString Describe(const EditorBatchReport& report, int photoCount);
};
