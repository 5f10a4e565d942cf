#pragma once
// The user-interface language the editor tells the module, as a language
// identifier: primary language in the low 10 bits, the default sublanguage above.

#include <QLocale>

#include <cstdint>

// English (0x0409) for a language the table does not know.
uint16_t LanguageIdOf(const QLocale& locale);
