#pragma once
// The region of the picture the noise levels are measured in: the selection the user
// drags on the preview, read from the preview site's text.

#include "platform/Rect.h"

#include <optional>

// The rectangle of a selection text "left top right bottom": each axis in increasing
// order, and all 0 when it has no width or no height. Nothing for a text that does not
// start with four whole numbers.
std::optional<RECT> NormalisedSelection(const char16_t* text);

// No width or no height: no region.
bool IsEmptyRegion(const RECT& region);
