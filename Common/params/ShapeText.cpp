#include "Common/params/ShapeText.h"

#include "platform/WideString.h"

#include <cstdio>

bool ReadShapeText(const char16_t* text, ShapeNumbers& numbers)
{
    if (text == nullptr) return false;
    const std::string narrow = NarrowToUtf8(WStringView(text));
    ShapeNumbers read{};
    if (std::sscanf(narrow.c_str(), "%d %d %d %d", &read[0], &read[1], &read[2], &read[3]) != 4) return false;
    numbers = read;
    return true;
}
