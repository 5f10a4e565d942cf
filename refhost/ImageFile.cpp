#include "refhost/ImageFile.h"

#include "refhost/PhotoMetadata.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QImageWriter>
#include <QSaveFile>
#include <QStringList>
#include <QTransform>

#include <sys/stat.h>

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

// Regular files and pipes (a shell's "<(...)") hold a picture; a device such as
// /dev/zero would be read without end.
bool IsReadablePictureSource(const QString& path)
{
    struct stat status {};
    if (::stat(QFile::encodeName(path).constData(), &status) != 0) return false;
    return S_ISREG(status.st_mode) || S_ISFIFO(status.st_mode);
}

// The whole file in one read; a file replaced or changed under the reader changes
// nothing already read.
bool ReadWholeFile(const QString& path, QByteArray& bytes, QString& error)
{
    const QFileInfo info(path);
    if (!info.exists()) {
        error = QStringLiteral("%1: no such file").arg(Quoted(path));
        return false;
    }
    if (!IsReadablePictureSource(path) || !info.isReadable()) {
        error = QStringLiteral("%1: not a readable file").arg(Quoted(path));
        return false;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        error = QStringLiteral("%1: cannot open (%2)").arg(Quoted(path), file.errorString());
        return false;
    }
    bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        error = QStringLiteral("%1: cannot read (%2)").arg(Quoted(path), file.errorString());
        return false;
    }
    return true;
}

// The image reader of a file's bytes; the suffix names the format only where the
// bytes do not.
struct BytesReader {
    BytesReader(const QString& path, const QByteArray& bytes)
    {
        buffer.setData(bytes);
        buffer.open(QIODevice::ReadOnly);
        QByteArray format = QImageReader::imageFormat(&buffer);
        if (format.isEmpty()) format = QFileInfo(path).suffix().toLower().toLatin1();
        reader.setDevice(&buffer);
        reader.setFormat(format);
    }
    QBuffer buffer;
    QImageReader reader;
};

// Decodes the bytes of the file at path; turned tells how Qt turned the picture
// upright itself.
bool DecodeFile(const QString& path, const QByteArray& bytes, QImage& picture,
                QImageIOHandler::Transformations& turned, QString& error)
{
    turned = BytesReader(path, bytes).reader.transformation();
    BytesReader decoding(path, bytes);
    // Photos taken sideways carry their orientation; show them as they were seen.
    decoding.reader.setAutoTransform(true);
    QImage decoded = decoding.reader.read();
    if (decoded.isNull()) {
        error = QStringLiteral("%1: cannot read the picture (%2)").arg(Quoted(path), decoding.reader.errorString());
        return false;
    }
    picture = std::move(decoded);
    return true;
}

// A missing folder is named as such, rather than as the failure to make a
// temporary file in it.
bool CheckTargetFolder(const QString& path, QString& error)
{
    const QFileInfo folder(QFileInfo(path).absolutePath());
    if (!folder.exists()) {
        error = QStringLiteral("%1: the folder %2 does not exist").arg(Quoted(path), Quoted(folder.filePath()));
        return false;
    }
    if (!folder.isDir()) {
        error = QStringLiteral("%1: %2 is not a folder").arg(Quoted(path), Quoted(folder.filePath()));
        return false;
    }
    return true;
}

// A regular file is replaced only once the new one is complete: written to a
// temporary file beside it and renamed over it.
bool WriteBeside(const QByteArray& bytes, const QString& path, QString& error)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        error = QStringLiteral("%1: cannot write (%2)").arg(Quoted(path), file.errorString());
        return false;
    }
    if (file.write(bytes) != bytes.size() || !file.commit()) {
        error = QStringLiteral("%1: cannot write (%2); the file is unchanged").arg(Quoted(path), file.errorString());
        return false;
    }
    return true;
}

// A device or a pipe (/dev/stdout) cannot be renamed over: it is written as it
// is, and a full device is reported.
bool WriteInPlace(const QByteArray& bytes, const QString& path, QString& error)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered) || file.write(bytes) != bytes.size()) {
        error = QStringLiteral("%1: cannot write (%2)").arg(Quoted(path), file.errorString());
        return false;
    }
    return true;
}

} // namespace

bool ReadImageFile(const QString& path, QImage& picture, QString& error)
{
    QByteArray bytes;
    QImageIOHandler::Transformations stored;
    return ReadWholeFile(path, bytes, error) && DecodeFile(path, bytes, picture, stored, error);
}

bool WriteImageFile(const QImage& picture, const QString& path, int quality, QString& error)
{
    QStringList notes;
    return WritePhotoFile(picture, path, quality, CPhotoMetadata(), notes, error);
}

bool ReadPhotoFile(const QString& path, QImage& picture, CPhotoMetadata& metadata, QStringList& warnings,
                   QString& error)
{
    // Pixels and metadata come from one read of the file, so that a file replaced
    // meanwhile cannot lend one its pixels and the other its metadata.
    QByteArray bytes;
    return ReadWholeFile(path, bytes, error) && ReadPhotoBytes(path, bytes, picture, metadata, warnings, error);
}

bool ReadPhotoBytes(const QString& path, const QByteArray& bytes, QImage& picture, CPhotoMetadata& metadata,
                    QStringList& warnings, QString& error)
{
    QImageIOHandler::Transformations turned;
    if (!DecodeFile(path, bytes, picture, turned, error)) return false;
    metadata = CPhotoMetadata::Read(bytes, picture, warnings);
    // Qt turns JPEG and TIFF photos itself, but not PNG or WebP ones.
    const int orientation = metadata.Orientation();
    if (orientation != 1 && turned == QImageIOHandler::TransformationNone) {
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
    if (!CheckTargetFolder(path, error)) return false;
    QByteArray bytes;
    if (!EncodePhoto(picture, path, quality, metadata, bytes, notes, error)) return false;
    const QFileInfo target(path);
    return target.exists() && !target.isFile() ? WriteInPlace(bytes, path, error) : WriteBeside(bytes, path, error);
}

bool EncodePhoto(const QImage& picture, const QString& path, int quality, const CPhotoMetadata& metadata,
                 QByteArray& bytes, QStringList& notes, QString& error)
{
    const QByteArray suffix = QFileInfo(path).suffix().toLower().toLatin1();
    if (!QImageWriter::supportedImageFormats().contains(suffix)) {
        error = QStringLiteral("%1: unknown picture format '%2' (known: %3)")
                    .arg(Quoted(path), QString::fromLatin1(suffix), WritableSuffixes());
        return false;
    }
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
    return true;
}

QString WritableSuffixes()
{
    QStringList names;
    for (const QByteArray& format : QImageWriter::supportedImageFormats()) names << QString::fromLatin1(format);
    return names.join(QStringLiteral(", "));
}
