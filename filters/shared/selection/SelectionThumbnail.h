#pragma once
// The dialogs that work on a rectangle drawn on the host's preview (crop, red-eye)
// propose the middle quarter of the picture and show a thumbnail with the
// rectangle marked; these are those two steps once.

#include "Common/base/InteractiveInterfaces.h"
#include "platform/ComPtr.h"
#include "platform/Rect.h"

class CImageStatic;

// Hands site "W/4 H/4 3W/4 3H/4" for source's size (integer divisions); nothing
// without a site or a source.
void ProposeMiddleQuarter(IPreviewSite* site, IImage* source);

// Shows on thumbnail a copy of picture (the unmarked thumbnail of source) with
// selection, in source pixels with y from the top, marked; nothing without a picture.
void ShowMarkedThumbnail(CImageStatic* thumbnail, IImage* picture, IImage* source, const RECT& selection);
