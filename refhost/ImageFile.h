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
// to warnings.
bool ReadPhotoFile(const QString& path, QImage& picture, CPhotoMetadata& metadata, QStringList& warnings,
                   QString& error);

// WriteImageFile with the metadata of the photo picture was made from, as far as the
// format holds it, the picture in the photo's colour profile; what is left out adds
// a line to notes.
bool WritePhotoFile(const QImage& picture, const QString& path, int quality, const CPhotoMetadata& metadata,
                    QStringList& notes, QString& error);

// The suffixes WriteImageFile knows, for messages.
QString WritableSuffixes();
