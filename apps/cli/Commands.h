#pragma once
// The commands of basicfilters. Each answers the process's exit code.

#include "apps/cli/CommandLine.h"
#include "refhost/FilterCatalog.h"

enum ExitCode : int {
    kExitOk = 0,
    kExitFilterFailed = 1,  // the filter reported a status (cancel included)
    kExitUsage = 2,         // bad command line, unknown filter, bad parameter text
    kExitFile = 3,          // a file could not be read or written
};

int RunList(const CommandLineOptions& options, const CFilterCatalog& catalog);
int RunApply(const CommandLineOptions& options, const CFilterCatalog& catalog);
int RunFormat(const CommandLineOptions& options, const CFilterCatalog& catalog);
// help FILTER, apply FILTER --help, format FILTER --help, help --markdown.
int RunHelp(const CommandLineOptions& options, const CFilterCatalog& catalog);
// detect-angle PHOTO [--json]: the angle that straightens the photo.
int RunDetectAngle(const CommandLineOptions& options, const CFilterCatalog& catalog);
// info PHOTO [--json]: size, format, orientation, resolution, colour profile and the
// camera's main fields; needs no module.
int RunInfo(const CommandLineOptions& options);
// recipe add FILE FILTER [settings] and recipe show FILE.
int RunRecipe(const CommandLineOptions& options, const CFilterCatalog& catalog);
// batch --recipe FILE PHOTOS...|DIR: the recipe on every photo, several at once.
int RunBatch(const CommandLineOptions& options, const CFilterCatalog& catalog);

// The one filter a user named; null after printing why not (unknown, ambiguous).
const FilterEntry* ResolveFilter(const CFilterCatalog& catalog, const std::string& name);
