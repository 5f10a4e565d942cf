#include "Common/params/SettingNumbers.h"

#include "platform/ClassicLocale.h"

#include <cstdlib>

NumberRead ReadSettingInt(const char*& cursor, int& value)
{
    // "inf", "nan" or "1e300" hold no integer "%d" could read, but they are numbers
    // no setting may hold, and a whole-number key is refused them like any other.
    double real = 0.0;
    if (ReadSettingDouble(cursor, real) == NumberRead::Refused) return NumberRead::Refused;
    char* end = nullptr;
    const long long read = strtoll_l(cursor, &end, 10, ClassicLocale());
    if (end == cursor) return NumberRead::None;
    cursor = end;
    // strtoll saturates, so a text of any length stays outside the bound.
    if (!IsSettingNumber(static_cast<double>(read))) return NumberRead::Refused;
    value = static_cast<int>(read);
    return NumberRead::Read;
}

NumberRead ReadSettingDouble(const char* text, double& value)
{
    char* end = nullptr;
    const double read = strtod_l(text, &end, ClassicLocale());
    if (end == text) return NumberRead::None;
    if (!IsSettingNumber(read)) return NumberRead::Refused;
    value = read;
    return NumberRead::Read;
}
