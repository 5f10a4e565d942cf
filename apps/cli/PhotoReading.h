#pragma once
// A photo file read into the host's image, as every command that filters or
// measures a photo needs it.

#include "platform/ComPtr.h"
#include "refhost/HostImage.h"
#include "refhost/PhotoMetadata.h"

#include <QImage>

#include <string>

// The photo at path as the host's image, picture holding what was decoded; empty
// after printing why not (unreadable file, not enough memory). With metadata, the
// file's metadata too, each damaged block left out with a warning.
CComPtr<CHostImage> ReadPhoto(const std::string& path, QImage& picture, CPhotoMetadata* metadata = nullptr);

// Prints each line as a warning about the file at path.
void PrintFileWarnings(const std::string& path, const QStringList& lines);

// Whether both paths name one file (also when one does not exist yet and both spell it alike).
bool IsSameFile(const std::string& a, const std::string& b);
