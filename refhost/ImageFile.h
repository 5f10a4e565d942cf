#pragma once
// Reading and writing photo files for the hosts. A write never leaves a half-written
// file behind: it goes to a temporary file beside the target, renamed on success.

#include <QImage>
#include <QString>
#include <QStringList>

class CPhotoMetadata;

// False with a message naming the file and the reason (missing, unreadable,
// not a picture, corrupt).
bool ReadImageFile(const QString& path, QImage& picture, QString& error);

// The format comes from the file name's suffix; quality 0..100, or -1 for the
// format's default. False with a message; the target is then untouched.
bool WriteImageFile(const QImage& picture, const QString& path, int quality, QString& error);

// ReadImageFile, and the file's metadata; each block left out (damaged) adds a line
// to warnings. The file is read once: pixels and metadata come from the same bytes.
// Regular files and pipes are read; devices are refused.
bool ReadPhotoFile(const QString& path, QImage& picture, CPhotoMetadata& metadata, QStringList& warnings,
                   QString& error);

// ReadPhotoFile on a file's bytes already read; path names it in messages and, by
// its suffix, gives the format where the bytes do not.
bool ReadPhotoBytes(const QString& path, const QByteArray& bytes, QImage& picture, CPhotoMetadata& metadata,
                    QStringList& warnings, QString& error);

// WriteImageFile with the metadata of the photo picture was made from, as far as the
// format holds it, the picture in the photo's colour profile; what is left out adds
// a line to notes. A regular file is replaced only by a complete one (written beside
// it, then renamed); a device or pipe is written in place. A missing folder, a
// folder that may not be written and a full disk each fail with a message, the
// target as it was.
bool WritePhotoFile(const QImage& picture, const QString& path, int quality, const CPhotoMetadata& metadata,
                    QStringList& notes, QString& error);

// The file WritePhotoFile would write, in memory; the format from path's suffix.
bool EncodePhoto(const QImage& picture, const QString& path, int quality, const CPhotoMetadata& metadata,
                 QByteArray& bytes, QStringList& notes, QString& error);

// The suffixes WriteImageFile knows, for messages.
QString WritableSuffixes();
