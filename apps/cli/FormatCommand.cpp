#include "apps/cli/Commands.h"
#include "apps/cli/ParameterText.h"

#include <cstdio>

// Prints the parameter text that apply would hand the filter, so that settings can
// be kept in a file and given back with --format-file.
int RunFormat(const CommandLineOptions& options, const CFilterCatalog& catalog)
{
    if (options.operands.size() != 1) {
        std::fprintf(stderr, "basicfilters: usage: basicfilters format FILTER [--set KEY=VALUE]...\n");
        return kExitUsage;
    }
    if (ResolveFilter(catalog, options.operands[0]) == nullptr) return kExitUsage;
    WString text;
    std::string error;
    if (!BuildParameterText(options, text, error)) {
        std::fprintf(stderr, "basicfilters: %s\n", error.c_str());
        return kExitUsage;
    }
    std::fputs(NarrowToUtf8(text).c_str(), stdout);
    return kExitOk;
}
