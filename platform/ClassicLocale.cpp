#include "platform/ClassicLocale.h"

locale_t ClassicLocale()
{
    static const locale_t classic = newlocale(LC_ALL_MASK, "C", locale_t{});
    return classic;
}
