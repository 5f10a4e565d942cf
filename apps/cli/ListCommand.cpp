#include "apps/cli/Commands.h"
#include "refhost/FilterLookup.h"
#include "refhost/FilterSettings.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <string>

namespace {

std::string JsonString(const std::string& text)
{
    std::string out = "\"";
    for (const char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (static_cast<unsigned char>(c) < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(c));
            out += escaped;
        } else {
            out += c;
        }
    }
    return out + "\"";
}

std::string JsonNumberOrNull(double value)
{
    return std::isfinite(value) ? NumberText(value) : std::string("null");
}

std::string JsonSetting(const FilterSetting& setting)
{
    const bool page = setting.type == SettingType::Page;
    // Numbered keys (X%03d) have no start of their own.
    const bool numbered = setting.key.find("%03d") != std::string::npos;
    std::string start = "null";
    if (!setting.fromPhoto && !numbered) start = page ? JsonString(setting.startText) : NumberText(setting.start);
    std::string choices = "[";
    for (const std::string& choice : setting.choices) choices += (choices.size() > 1 ? ", " : "") + JsonString(choice);
    choices += "]";
    return "{\"page\": " + (setting.page.empty() ? std::string("null") : JsonString(setting.page)) +
           ", \"key\": " + JsonString(setting.key) + ", \"type\": \"" + SettingTypeName(setting.type) +
           "\", \"minimum\": " + (page ? "null" : JsonNumberOrNull(setting.minimum)) +
           ", \"maximum\": " + (page ? "null" : JsonNumberOrNull(setting.maximum)) + ", \"default\": " + start +
           ", \"choices\": " + choices + ", \"description\": " + JsonString(setting.description) + "}";
}

std::string JsonSettings(const FilterEntry& entry)
{
    if (entry.settings.empty()) return "[]";
    std::string out = "[";
    for (size_t i = 0; i < entry.settings.size(); ++i) {
        out += (i == 0 ? "\n    " : ",\n    ") + JsonSetting(entry.settings[i]);
    }
    return out + "\n  ]";
}

// The option that gives the filter its rectangle or line, or null.
std::string JsonPreviewShape(const FilterEntry& entry)
{
    const FilterPreviewShape& shape = entry.previewShape;
    if (shape.shape == PreviewShape::None) return "null";
    const char* option = shape.shape == PreviewShape::Line ? "--line" : "--selection";
    return std::string("{\"option\": \"") + option + "\", \"required\": " + (shape.required ? "true" : "false") +
           ", \"description\": " + JsonString(shape.description) + "}";
}

void PrintJson(const CFilterCatalog& catalog)
{
    std::printf("[\n");
    const auto& entries = catalog.Entries();
    for (size_t i = 0; i < entries.size(); ++i) {
        const FilterEntry& entry = entries[i];
        std::printf("  {\"index\": %d, \"name\": %s, \"kind\": \"%s\", \"interactive\": %s, \"flags\": %u, "
                    "\"order\": %d, \"icon\": %d, \"listed\": %s, \"settings\": %s, \"drawn\": %s}%s\n",
                    entry.index, JsonString(entry.menuPath).c_str(), FilterKindName(entry.kind),
                    entry.kind == FilterKind::Interactive ? "true" : "false", entry.flags, entry.order,
                    entry.iconIndex, entry.listed ? "true" : "false", JsonSettings(entry).c_str(),
                    JsonPreviewShape(entry).c_str(), i + 1 < entries.size() ? "," : "");
    }
    std::printf("]\n");
}

// Follows the icon column of a filter that the module's enumerator does not hand out.
constexpr const char* kUnlistedMark = "  (not in the enumerator)";

void PrintTable(const CFilterCatalog& catalog)
{
    std::printf("%-5s  %-42s  %-11s  %-8s  %5s  %4s\n", "index", "menu path", "kind", "flags", "order", "icon");
    for (const FilterEntry& entry : catalog.Entries()) {
        const std::string icon = entry.iconIndex >= 0 ? std::to_string(entry.iconIndex) : "-";
        // Only the filters beside the enumerator carry a mark, so the rows of the listed
        // ones read as they always have.
        std::printf("%5d  %-42s  %-11s  %08X  %5d  %4s%s\n", entry.index, entry.menuPath.c_str(),
                    FilterKindName(entry.kind), entry.flags, entry.order, icon.c_str(),
                    entry.listed ? "" : kUnlistedMark);
    }
}

} // namespace

int RunList(const CommandLineOptions& options, const CFilterCatalog& catalog)
{
    if (options.json) PrintJson(catalog);
    else PrintTable(catalog);
    return kExitOk;
}

const FilterEntry* ResolveFilter(const CFilterCatalog& catalog, const std::string& name)
{
    std::string error;
    const FilterEntry* entry = FindFilterByName(catalog, name, error);
    if (entry == nullptr) std::fprintf(stderr, "basicfilters: %s\n", error.c_str());
    return entry;
}
