#include "refhost/ImageFile.h"

#include "refhost/PhotoMetadata.h"

#include <QBuffer>
#include <QFileInfo>
#include <QImageReader>
#include <QImageWriter>
#include <QSaveFile>
#include <QStringList>
#include <QTransform>

namespace {

QString Quoted(const QString& path)
{
    return QStringLiteral("'%1'").arg(path);
}

// The stored picture turned and mirrored as its EXIF orientation says it is shown.
QImage Upright(const QImage& stored, int orientation)
{
    const auto turned = [&stored](int degrees) { return stored.transformed(QTransform().rotate(degrees)); };
    switch (orientation) {
    case 2: return stored.mirrored(true, false);
    case 3: return stored.mirrored(true, true);
    case 4: return stored.mirrored(false, true);
    case 5: return turned(90).mirrored(true, false);
    case 6: return turned(90);
    case 7: return turned(270).mirrored(true, false);
    case 8: return turned(270);
    default: return stored;
    }
}

} // namespace

bool ReadImageFile(const QString& path, QImage& picture, QString& error)
{
    const QFileInfo info(path);
    if (!info.exists()) {
        error = QStringLiteral("%1: no such file").arg(Quoted(path));
        return false;
    }
    if (!info.isFile() || !info.isReadable()) {
        error = QStringLiteral("%1: not a readable file").arg(Quoted(path));
        return false;
    }
    QImageReader reader(path);
    // Photos taken sideways carry their orientation; show them as they were seen.
    reader.setAutoTransform(true);
    QImage decoded = reader.read();
    if (decoded.isNull()) {
        error = QStringLiteral("%1: cannot read the picture (%2)").arg(Quoted(path), reader.errorString());
        return false;
    }
    picture = std::move(decoded);
    return true;
}

bool WriteImageFile(const QImage& picture, const QString& path, int quality, QString& error)
{
    QStringList notes;
    return WritePhotoFile(picture, path, quality, CPhotoMetadata(), notes, error);
}

bool ReadPhotoFile(const QString& path, QImage& picture, CPhotoMetadata& metadata, QStringList& warnings,
                   QString& error)
{
    if (!ReadImageFile(path, picture, error)) return false;
    metadata = CPhotoMetadata::Read(path, picture, warnings);
    // Qt turns JPEG and TIFF photos itself, but not PNG or WebP ones.
    const int orientation = metadata.Orientation();
    if (orientation != 1 && QImageReader(path).transformation() == QImageIOHandler::TransformationNone) {
        QImage upright = Upright(picture, orientation);
        if (upright.isNull()) {
            error = QStringLiteral("%1: not enough memory to turn the picture upright").arg(Quoted(path));
            return false;
        }
        picture = std::move(upright);
    }
    return true;
}

bool WritePhotoFile(const QImage& picture, const QString& path, int quality, const CPhotoMetadata& metadata,
                    QStringList& notes, QString& error)
{
    const QByteArray suffix = QFileInfo(path).suffix().toLower().toLatin1();
    if (!QImageWriter::supportedImageFormats().contains(suffix)) {
        error = QStringLiteral("%1: unknown picture format '%2' (known: %3)")
                    .arg(Quoted(path), QString::fromLatin1(suffix), WritableSuffixes());
        return false;
    }
    // The whole file is made in memory first, so that a failure leaves nothing behind.
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, suffix);
    if (quality >= 0) writer.setQuality(quality);
    QImage profiled = picture;
    if (metadata.ColorSpace().isValid()) profiled.setColorSpace(metadata.ColorSpace());
    if (!writer.write(profiled)) {
        error = QStringLiteral("%1: cannot write the picture (%2)").arg(Quoted(path), writer.errorString());
        return false;
    }
    buffer.close();
    // The photo is worth more than its metadata: a failure here leaves the metadata out.
    QString metadataError;
    if (!metadata.AddTo(bytes, picture, notes, metadataError)) notes << metadataError;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
        error = QStringLiteral("%1: cannot write (%2)").arg(Quoted(path), file.errorString());
        return false;
    }
    if (!file.commit()) {
        error = QStringLiteral("%1: cannot write (%2)").arg(Quoted(path), file.errorString());
        return false;
    }
    return true;
}

QString WritableSuffixes()
{
    QStringList names;
    for (const QByteArray& format : QImageWriter::supportedImageFormats()) names << QString::fromLatin1(format);
    return names.join(QStringLiteral(", "));
}
