#pragma once
// String look-up by identifier in the module's current user-interface language,
// with English as the language every identifier has.

#include "platform/WideString.h"

#include <cstdint>
#include <span>

struct StringTableEntry {
    unsigned id;
    const char16_t* text;
};

struct LanguageStringTable {
    uint16_t language;  // a language identifier; its low 10 bits name the primary language
    std::span<const StringTableEntry> entries;
};

inline constexpr uint16_t kLanguageEnglishUS = 0x0409;

// Defined by resources/: the tables compiled into the module, English first.
std::span<const LanguageStringTable> ModuleStringTables();

class CLocalization {
public:
    static CLocalization& Instance();

    uint16_t Language() const { return m_language; }
    void SetLanguage(uint16_t language) { m_language = language; }

    // A setting of the facility that the module's start-up writes; kept for hosts
    // that read it, no look-up depends on it.
    uint32_t Mode() const { return m_mode; }
    void SetMode(uint32_t mode) { m_mode = mode; }

    // The text of id in the current language, falling back to English; false and
    // text unchanged when no table has the identifier.
    bool LoadString(unsigned id, WString& text) const;

private:
    uint16_t m_language = kLanguageEnglishUS;
    uint32_t m_mode = 0;
};

// Convenience for texts that always exist; empty when the identifier is unknown.
WString LoadModuleString(unsigned id);
