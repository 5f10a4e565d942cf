#pragma once
// The copy of the photo a live preview works on: no larger than the screen area
// that shows it, so that each change of a setting costs little.

#include "host/HostInterfaces.h"
#include "platform/ComPtr.h"

#include <QImage>
#include <QRect>
#include <QSize>

// An exact copy when the photo fits into bound; else a smooth reduction with the
// photo's proportions. Empty when memory runs out.
CComPtr<IImage> MakePreviewImage(IImage* photo, QSize bound, bool hasAlpha);

// The pixels of image within part (x from the left, y from the top), as a picture
// with the fourth byte as alpha or not; part must lie within the image. Copying
// only the part in view out of a large result costs a fraction of the whole.
QImage PartOfImage(IImage* image, const QRect& part, bool fourthByteIsAlpha);
