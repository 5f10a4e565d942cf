#pragma once
// The photo being edited: its pixels as a host image, the file it came from, the
// filters applied to it (undoable), and saving.

#include "host/HostInterfaces.h"
#include "platform/ComPtr.h"
#include "refhost/PhotoMetadata.h"
#include "refhost/Recipe.h"

#include <QImage>
#include <QObject>
#include <QString>
#include <QUndoStack>

#include <vector>

class CPhotoDocument : public QObject {
    Q_OBJECT

public:
    explicit CPhotoDocument(QObject* parent = nullptr);

    // Replaces the photo and forgets the history; false with a message, the
    // document unchanged. Damaged metadata is left out, named in Warnings().
    bool Open(const QString& path, QString& error);
    bool IsEmpty() const { return !m_image; }

    IImage* Image() const { return m_image.Get(); }
    // The photo for the screen and for files; the fourth byte is alpha only for
    // photos that came with transparency.
    QImage Picture() const;
    // Picture() as the screen shows it: turned from the photo's colour profile into sRGB.
    QImage ScreenPicture() const;
    // EXIF, IPTC, XMP and the colour profile of the opened file, written with every save.
    const CPhotoMetadata& Metadata() const { return m_metadata; }
    // What the last Open left out or the last Save could not keep; empty when all went.
    const QStringList& Warnings() const { return m_warnings; }
    bool HasAlpha() const { return m_hasAlpha; }
    QString OpenedPath() const { return m_openedPath; }
    // Where Save writes: the last file saved to, else the opened file.
    QString SavePath() const { return m_savePath; }

    // result becomes the photo, undoably, under the filter's name; recipeSteps are
    // what a recipe would run to get it from the photo as it is now.
    void PushFilterResult(IImage* result, const QString& filterName, std::vector<RecipeStep> recipeSteps = {});
    // The recipe steps that lead from the opened file to the photo as it is now,
    // also those of history steps dropped for memory.
    std::vector<RecipeStep> AppliedSteps() const;
    QUndoStack* History() { return &m_history; }
    bool IsModified() const { return !m_history.isClean(); }

    // Writes the photo; quality 0..100 for formats that take one, -1 otherwise.
    bool Save(const QString& path, int quality, QString& error);

    // For the history's steps.
    void SetImage(IImage* image);

signals:
    // The pixels changed: opened, filtered, undone or redone.
    void imageChanged();
    // Another photo was opened; its metadata is there.
    void opened();

private:
    CComPtr<IImage> m_image;
    bool m_hasAlpha = false;
    CPhotoMetadata m_metadata;
    QStringList m_warnings;
    QString m_openedPath;
    QString m_savePath;
    QUndoStack m_history;
    // The recipe steps of history steps the undo limit dropped: applied for good.
    std::vector<RecipeStep> m_settledSteps;
};
