#pragma once
// Reading and writing photo files for the hosts. A write never leaves a half-written
// file behind: it goes to a temporary file beside the target, renamed on success.

#include <QImage>
#include <QString>

// False with a message naming the file and the reason (missing, unreadable,
// not a picture, corrupt).
bool ReadImageFile(const QString& path, QImage& picture, QString& error);

// The format comes from the file name's suffix; quality 0..100, or -1 for the
// format's default. False with a message; the target is then untouched.
bool WriteImageFile(const QImage& picture, const QString& path, int quality, QString& error);

// The suffixes WriteImageFile knows, for messages.
QString WritableSuffixes();
