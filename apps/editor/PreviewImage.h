#pragma once
// The copy of the photo a live preview works on: no larger than the screen area
// that shows it, so that each change of a setting costs little.

#include "host/HostInterfaces.h"
#include "platform/ComPtr.h"

#include <QSize>

// An exact copy when the photo fits into bound; else a smooth reduction with the
// photo's proportions. Empty when memory runs out.
CComPtr<IImage> MakePreviewImage(IImage* photo, QSize bound, bool hasAlpha);
