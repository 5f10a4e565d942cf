#include "platform/Localization.h"

namespace {

constexpr uint16_t kPrimaryLanguageMask = 0x3FF;

const char16_t* FindIn(const LanguageStringTable& table, unsigned id)
{
    for (const StringTableEntry& entry : table.entries) {
        if (entry.id == id) return entry.text;
    }
    return nullptr;
}

} // namespace

CLocalization& CLocalization::Instance()
{
    static CLocalization instance;
    return instance;
}

bool CLocalization::LoadString(unsigned id, WString& text) const
{
    const auto tables = ModuleStringTables();
    for (const LanguageStringTable& table : tables) {
        if ((table.language & kPrimaryLanguageMask) != (m_language & kPrimaryLanguageMask)) continue;
        if (const char16_t* found = FindIn(table, id)) {
            text = found;
            return true;
        }
    }
    for (const LanguageStringTable& table : tables) {
        if (table.language != kLanguageEnglishUS) continue;
        if (const char16_t* found = FindIn(table, id)) {
            text = found;
            return true;
        }
    }
    return false;
}

WString LoadModuleString(unsigned id)
{
    WString text;
    CLocalization::Instance().LoadString(id, text);
    return text;
}
