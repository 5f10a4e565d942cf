#include "Common/params/ShapeText.h"

#include "Common/params/SettingNumbers.h"
#include "platform/WideString.h"

#include <string>

bool ReadShapeText(const char16_t* text, ShapeNumbers& numbers)
{
    if (text == nullptr) return false;
    const std::string narrow = NarrowToUtf8(WStringView(text));
    const char* cursor = narrow.c_str();
    ShapeNumbers read{};
    for (int& number : read) {
        if (ReadSettingInt(cursor, number) != NumberRead::Read) return false;
    }
    numbers = read;
    return true;
}
