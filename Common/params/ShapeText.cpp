#include "Common/params/ShapeText.h"

#include "Common/params/SettingNumbers.h"
#include "platform/WideString.h"

#include <string>

int ReadShapeNumbers(const char16_t* text, ShapeNumbers& numbers)
{
    if (text == nullptr) return 0;
    const std::string narrow = NarrowToUtf8(WStringView(text));
    const char* cursor = narrow.c_str();
    int read = 0;
    while (read < 4 && ReadSettingInt(cursor, numbers[static_cast<size_t>(read)]) == NumberRead::Read) ++read;
    return read;
}

bool ReadShapeText(const char16_t* text, ShapeNumbers& numbers)
{
    ShapeNumbers read = numbers;
    if (ReadShapeNumbers(text, read) != 4) return false;
    numbers = read;
    return true;
}
