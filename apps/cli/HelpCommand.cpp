// The settings a filter declares, worded for a person (help FILTER) or for the
// README (help --markdown).

#include "apps/cli/Commands.h"
#include "apps/cli/PreviewShapeOption.h"
#include "refhost/FilterSettings.h"

#include <algorithm>
#include <cstdio>
#include <string>

namespace {

// "integer, 1 to 4, default 1"
std::string Summary(const FilterSetting& setting)
{
    const std::string range = RangeText(setting);
    std::string text = SettingTypeName(setting.type);
    if (!range.empty()) text += (setting.type == SettingType::Page ? ": " : ", ") + range;
    return text + ", default " + DefaultText(setting);
}

// The page setting whose choices include page, for the group heading.
std::string PageKeyOf(const FilterEntry& entry, const std::string& page)
{
    for (const FilterSetting& setting : entry.settings) {
        const auto& choices = setting.choices;
        if (setting.type == SettingType::Page && std::find(choices.begin(), choices.end(), page) != choices.end()) {
            return setting.key;
        }
    }
    return {};
}

// The pages in the order the declaration first names them; "" (no page) first.
std::vector<std::string> PagesInOrder(const FilterEntry& entry)
{
    std::vector<std::string> pages{""};
    for (const FilterSetting& setting : entry.settings) {
        if (std::find(pages.begin(), pages.end(), setting.page) == pages.end()) pages.push_back(setting.page);
    }
    return pages;
}

void PrintSettingLines(const FilterSetting& setting, size_t keyWidth)
{
    std::printf("  %-*s  %s\n", static_cast<int>(keyWidth), setting.key.c_str(), Summary(setting).c_str());
    if (!setting.description.empty()) {
        std::printf("  %-*s  %s\n", static_cast<int>(keyWidth), "", setting.description.c_str());
    }
}

void PrintNoSettings(const FilterEntry& entry)
{
    switch (entry.kind) {
    case FilterKind::Plain: std::printf("%s takes no settings.\n", entry.menuPath.c_str()); break;
    case FilterKind::Unavailable:
        std::printf("%s is not available in this build of the module.\n", entry.menuPath.c_str());
        break;
    case FilterKind::Interactive:
        std::printf("%s takes settings the module does not describe; see the README.\n", entry.menuPath.c_str());
        break;
    }
}

// The rectangle or line the filter reads, after its keys.
void PrintPreviewShapeHelp(const FilterEntry& entry)
{
    const FilterPreviewShape& shape = entry.previewShape;
    if (shape.shape == PreviewShape::None) return;
    std::printf("\n %s (pixels, x from the left, y from the top; %s):\n   %s\n",
                PreviewShapeOptionName(shape.shape).c_str(), shape.required ? "required" : "optional",
                shape.description.c_str());
}

void PrintFilterHelp(const FilterEntry& entry)
{
    if (entry.settings.empty()) {
        if (entry.previewShape.shape == PreviewShape::None) PrintNoSettings(entry);
        else std::printf("%s: no settings\n", entry.menuPath.c_str());
        PrintPreviewShapeHelp(entry);
        return;
    }
    std::printf("%s: settings (--set KEY=VALUE; letter case of keys does not matter; a missing one takes its "
                "default)\n",
                entry.menuPath.c_str());
    size_t keyWidth = 0;
    for (const FilterSetting& setting : entry.settings) keyWidth = std::max(keyWidth, setting.key.size());
    for (const std::string& page : PagesInOrder(entry)) {
        if (!page.empty()) {
            const std::string pageKey = PageKeyOf(entry, page);
            if (pageKey.empty()) std::printf("\n on the page %s:\n", page.c_str());
            else std::printf("\n with %s=%s:\n", pageKey.c_str(), page.c_str());
        } else {
            std::printf("\n");
        }
        for (const FilterSetting& setting : entry.settings) {
            if (setting.page == page) PrintSettingLines(setting, keyWidth);
        }
    }
    PrintPreviewShapeHelp(entry);
}

std::string MarkdownCell(const std::string& text)
{
    std::string cell;
    for (const char c : text) {
        if (c == '|') cell += '\\';
        cell += c;
    }
    return cell;
}

std::string Code(const std::string& text)
{
    return text.empty() ? std::string() : "`" + text + "`";
}

std::string MarkdownRange(const FilterSetting& setting)
{
    if (setting.type != SettingType::Page) return RangeText(setting);
    std::string text;
    for (size_t i = 0; i < setting.choices.size(); ++i) {
        text += (i == 0 ? "" : i + 1 == setting.choices.size() ? " or " : ", ") + Code(setting.choices[i]);
    }
    return text;
}

void PrintMarkdownTable(const CFilterCatalog& catalog)
{
    std::printf("| filter | page | key | type | the dialog's range | default | what it sets |\n");
    std::printf("|---|---|---|---|---|---|---|\n");
    for (const FilterEntry& entry : catalog.Entries()) {
        bool first = true;
        for (const FilterSetting& setting : entry.settings) {
            const std::string start =
                setting.type == SettingType::Page ? Code(DefaultText(setting)) : DefaultText(setting);
            std::printf("| %s | %s | %s | %s | %s | %s | %s |\n", first ? MarkdownCell(entry.menuPath).c_str() : "",
                        Code(setting.page).c_str(), Code(setting.key).c_str(), SettingTypeName(setting.type),
                        MarkdownRange(setting).c_str(), start.c_str(), MarkdownCell(setting.description).c_str());
            first = false;
        }
    }
}

} // namespace

int RunHelp(const CommandLineOptions& options, const CFilterCatalog& catalog)
{
    if (options.markdown) {
        PrintMarkdownTable(catalog);
        return kExitOk;
    }
    if (options.operands.empty()) {
        std::fprintf(stderr, "basicfilters: usage: basicfilters help FILTER\n");
        return kExitUsage;
    }
    const FilterEntry* entry = ResolveFilter(catalog, options.operands[0]);
    if (entry == nullptr) return kExitUsage;
    PrintFilterHelp(*entry);
    return kExitOk;
}
