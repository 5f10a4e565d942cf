#include "apps/cli/Commands.h"

#include <cstdio>
#include <string>

namespace {

std::string JsonString(const std::string& text)
{
    std::string out = "\"";
    for (const char c : text) {
        if (c == '"' || c == '\\') out += '\\';
        out += c;
    }
    return out + "\"";
}

void PrintJson(const CFilterCatalog& catalog)
{
    std::printf("[\n");
    const auto& entries = catalog.Entries();
    for (size_t i = 0; i < entries.size(); ++i) {
        const FilterEntry& entry = entries[i];
        std::printf("  {\"index\": %d, \"name\": %s, \"kind\": \"%s\", \"interactive\": %s, \"flags\": %u, "
                    "\"order\": %d, \"icon\": %d}%s\n",
                    entry.index, JsonString(entry.menuPath).c_str(), FilterKindName(entry.kind),
                    entry.kind == FilterKind::Interactive ? "true" : "false", entry.flags, entry.order,
                    entry.iconIndex, i + 1 < entries.size() ? "," : "");
    }
    std::printf("]\n");
}

void PrintTable(const CFilterCatalog& catalog)
{
    std::printf("%-5s  %-42s  %-11s  %-8s  %5s  %4s\n", "index", "menu path", "kind", "flags", "order", "icon");
    for (const FilterEntry& entry : catalog.Entries()) {
        const std::string icon = entry.iconIndex >= 0 ? std::to_string(entry.iconIndex) : "-";
        std::printf("%5d  %-42s  %-11s  %08X  %5d  %4s\n", entry.index, entry.menuPath.c_str(),
                    FilterKindName(entry.kind), entry.flags, entry.order, icon.c_str());
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
    const auto found = catalog.Find(name);
    if (found.size() == 1) return found.front();
    if (found.empty()) {
        std::fprintf(stderr, "basicfilters: no filter named '%s' (see 'basicfilters list')\n", name.c_str());
    } else {
        std::fprintf(stderr, "basicfilters: '%s' names several filters; give the menu path or index:\n", name.c_str());
        for (const FilterEntry* entry : found) std::fprintf(stderr, "  %d  %s\n", entry->index, entry->menuPath.c_str());
    }
    return nullptr;
}
