#pragma once
// The hosts run under the user's locale (Qt hands it to the C library), in which a
// German reader stops at "0.5". Texts the module writes and reads hold numbers the
// way "%d" and "%lf" write them in the classic locale, whoever runs it.

#include <clocale>

locale_t ClassicLocale();
