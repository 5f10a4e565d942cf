#pragma once
// Copies one pixel section onto another of any size, keeping whole pixels without
// blending (the colour-on-colour mode): each target pixel takes the source pixel
// its position falls in, counted from the top-left corner of both pictures.

#include "platform/Bitmap.h"

// False when either section cannot be described.
bool StretchSectionColorOnColor(HBITMAP target, HBITMAP source);
