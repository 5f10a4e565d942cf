#include "apps/editor/HostLanguage.h"

#include <utility>

namespace {

constexpr uint16_t kDefaultSublanguage = 0x01;
constexpr uint16_t kPrimaryEnglish = 0x09;

// Primary language numbers of the identifiers photo editors pass to their plug-ins.
constexpr std::pair<QLocale::Language, uint16_t> kPrimaryLanguages[] = {
    {QLocale::Chinese, 0x04},  {QLocale::Czech, 0x05},    {QLocale::Danish, 0x06},
    {QLocale::German, 0x07},   {QLocale::Greek, 0x08},    {QLocale::English, 0x09},
    {QLocale::Spanish, 0x0A},  {QLocale::Finnish, 0x0B},  {QLocale::French, 0x0C},
    {QLocale::Hungarian, 0x0E}, {QLocale::Italian, 0x10}, {QLocale::Japanese, 0x11},
    {QLocale::Korean, 0x12},   {QLocale::Dutch, 0x13},    {QLocale::NorwegianBokmal, 0x14},
    {QLocale::Polish, 0x15},   {QLocale::Portuguese, 0x16}, {QLocale::Russian, 0x19},
    {QLocale::Swedish, 0x1D},  {QLocale::Turkish, 0x1F},
};

} // namespace

uint16_t LanguageIdOf(const QLocale& locale)
{
    uint16_t primary = kPrimaryEnglish;
    for (const auto& [language, number] : kPrimaryLanguages) {
        if (language == locale.language()) primary = number;
    }
    return static_cast<uint16_t>(kDefaultSublanguage << 10 | primary);
}
