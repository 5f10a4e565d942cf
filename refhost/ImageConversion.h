#pragma once
// Between decoded pictures (top-down QImage) and the module's images (bottom-up
// rows, bytes blue, green, red, fourth byte), keeping the fourth byte and the
// resolution.

#include "refhost/HostImage.h"

#include <QImage>

// Count 1; null for a null picture or when memory runs out. A picture without
// alpha gets 0xFF as fourth byte.
CHostImage* ImageFromQImage(const QImage& picture);

// fourthByteIsAlpha: write the fourth byte as alpha (ARGB32), else as the unused
// byte of RGB32. Null QImage when the image has no pixels.
QImage QImageFromImage(IImage* image, bool fourthByteIsAlpha);
