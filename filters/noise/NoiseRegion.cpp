#include "filters/noise/NoiseRegion.h"

#include "Common/params/ShapeText.h"

#include <algorithm>

std::optional<RECT> NormalisedSelection(const char16_t* text)
{
    ShapeNumbers numbers{};
    if (!ReadShapeText(text, numbers)) return std::nullopt;
    const auto [left, right] = std::minmax(numbers[0], numbers[2]);
    const auto [top, bottom] = std::minmax(numbers[1], numbers[3]);
    const RECT region{left, top, right, bottom};
    return IsEmptyRegion(region) ? RECT{0, 0, 0, 0} : region;
}

bool IsEmptyRegion(const RECT& region)
{
    return region.right <= region.left || region.bottom <= region.top;
}
