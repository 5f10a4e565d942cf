#pragma once
// A photo file read into the host's image, as every command that filters or
// measures a photo needs it.

#include "platform/ComPtr.h"
#include "refhost/HostImage.h"

#include <QImage>

#include <string>

// The photo at path as the host's image, picture holding what was decoded; empty
// after printing why not (unreadable file, not enough memory).
CComPtr<CHostImage> ReadPhoto(const std::string& path, QImage& picture);
