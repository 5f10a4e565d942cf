#include "apps/cli/Commands.h"
#include "apps/cli/ParameterText.h"

#include <cstdio>

// Prints the parameter text that apply would hand the filter, start values filled in,
// so that settings can be kept in a file and given back with --format-file.
int RunFormat(const CommandLineOptions& options, const CFilterCatalog& catalog)
{
    if (options.operands.size() != 1) {
        std::fprintf(stderr, "basicfilters: usage: basicfilters format FILTER [--set KEY=VALUE]...\n");
        return kExitUsage;
    }
    const FilterEntry* entry = ResolveFilter(catalog, options.operands[0]);
    if (entry == nullptr) return kExitUsage;
    WString text;
    SettingNotes notes;
    std::string error;
    if (!PrepareParameterText(*entry, options, text, notes, error)) {
        std::fprintf(stderr, "basicfilters: %s\n", error.c_str());
        return kExitUsage;
    }
    // The text shows the defaults it used; only the warnings need saying.
    notes.defaultsUsed.clear();
    PrintSettingNotes(*entry, notes, options.quiet);
    std::fputs(NarrowToUtf8(text).c_str(), stdout);
    return kExitOk;
}
