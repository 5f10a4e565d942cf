// basicfilters: lists the filters of the module and applies one to picture files.

#include "apps/cli/Commands.h"
#include "refhost/ModuleLoader.h"
#include "refhost/PluginHost.h"

#include "platform/ComPtr.h"

#include "BasicFiltersVersion.h"

#include <QCoreApplication>

#include <cstdio>
#include <string_view>

namespace {

constexpr uint16_t kHostLanguage = 0x0409;

constexpr const char* kUsage =
    "usage: basicfilters [--module PATH] COMMAND ...\n"
    "       basicfilters --version\n"
    "\n"
    "commands:\n"
    "  list [--json]                     the filters: index, menu path, kind, flags, order, icon\n"
    "                                    (--json adds each filter's settings)\n"
    "  apply FILTER IN OUT [options]     apply a filter to picture file IN and write OUT\n"
    "  apply --recipe FILE IN OUT        run a recipe's filters on IN, one after the other, and write OUT\n"
    "  batch --recipe FILE PHOTOS...|DIR run a recipe on many photos at once (see batch options)\n"
    "  recipe add FILE FILTER [options]  append FILTER with its settings (as for apply) to recipe FILE,\n"
    "                                    which is made when missing\n"
    "  recipe show FILE                  the recipe's steps with the settings they will hand the filters\n"
    "  format FILTER [--set KEY=VALUE]... print the parameter text apply would hand the filter\n"
    "  detect-angle PHOTO [--json]       the Rotate angle that straightens the photo (what\n"
    "                                    \"Autorotate Image\" finds); nothing is written\n"
    "  info PHOTO [--json]               size, format, orientation, resolution, colour profile and\n"
    "                                    camera fields: what a filtered copy keeps\n"
    "  help FILTER                       the filter's settings: keys, types, ranges, defaults\n"
    "                                    (also: apply FILTER --help)\n"
    "  help --markdown                   every filter's settings as a Markdown table\n"
    "  help                              this text\n"
    "\n"
    "FILTER is a menu path (\"Rotate\\Flip Horizontal\"), its last part (\"Flip Horizontal\") or an index.\n"
    "\n"
    "apply options:\n"
    "  --set KEY=VALUE      one setting; repeat for more (later ones win); settings left out\n"
    "                       take the dialog's start values, and unknown keys are refused\n"
    "  --format TEXT        a whole parameter text, KEY:VALUE lines\n"
    "  --format-file FILE   the parameter text from a file (as 'format' prints it)\n"
    "  --selection L,T,R,B  the rectangle a filter works on (Crop) or measures in (Noise), in\n"
    "                       pixels, y from the top\n"
    "  --line X1,Y1,X2,Y2   a line that should become level or upright (Rotate)\n"
    "  --print-settings     after writing OUT, print the filter's parameter text on stdout, with\n"
    "                       what it measured (Noise's levels); give it back with --format-file\n"
    "  --quality N          JPEG quality 0..100 (default 92)\n"
    "  --overwrite          allow OUT to be the input file\n"
    "  --quiet, -q          no progress bar\n"
    "  --module PATH        the filter module (default: libBasicFilters.so beside this program, else\n"
    "                       the installed one, in basicfilters/ under the library folder)\n"
    "\n"
    "batch options:\n"
    "  --jobs N             photos worked on at once (default: one a core; each then runs its filters\n"
    "                       on one thread unless BASICFILTERS_THREADS is set)\n"
    "  --suffix S           write PHOTO's result beside it as its name with S added (default -edited)\n"
    "  --out-dir DIR        write the results into DIR under the photos' own names\n"
    "  --overwrite          replace results that exist (they are skipped otherwise); an input is never\n"
    "                       replaced\n"
    "  --quality N          JPEG quality, as for apply\n"
    "\n"
    "A recipe is a text file: the line 'BasicFilters recipe 1', then for each step a line\n"
    "'filter NAME' and, indented below it, the filter's KEY:VALUE lines (as 'format' prints them)\n"
    "and 'selection L,T,R,B' or 'line X1,Y1,X2,Y2' for a filter that reads one; lines starting\n"
    "with # are comments. Every step is checked before any photo is read.\n"
    "A DIR operand stands for the photos in it (.jpg .jpeg .png .bmp .tif .tiff .webp). The batch ends\n"
    "with a summary of what failed and why, and exits 1 when any photo failed.\n"
    "\n"
    "exit codes: 0 done, 1 the filter failed or was cancelled (Ctrl-C), 2 bad command line,\n"
    "3 a file could not be read or written. The input file is never changed.\n";

int Dispatch(const CommandLineOptions& options, const CFilterCatalog& catalog)
{
    if (options.command == "list") return RunList(options, catalog);
    if (options.command == "apply") return RunApply(options, catalog);
    if (options.command == "format") return RunFormat(options, catalog);
    if (options.command == "help") return RunHelp(options, catalog);
    if (options.command == "detect-angle") return RunDetectAngle(options, catalog);
    if (options.command == "recipe") return RunRecipe(options, catalog);
    if (options.command == "batch") return RunBatch(options, catalog);
    std::fprintf(stderr, "basicfilters: unknown command '%s'\n%s", options.command.c_str(), kUsage);
    return kExitUsage;
}

// "help", "--help" and "list --help" need no module; "help FILTER", "apply FILTER
// --help" and "help --markdown" read the filters' settings from it.
bool WantsUsage(const CommandLineOptions& options)
{
    if (options.command == "help") return options.operands.empty() && !options.markdown;
    const bool describedHere = options.command == "list" || options.command == "recipe" || options.command == "batch";
    return options.help && (options.operands.empty() || describedHere);
}

// After the options are read, "apply FILTER ... --help" is a question about FILTER.
void TurnHelpFlagIntoCommand(CommandLineOptions& options)
{
    if (options.help && (options.command == "apply" || options.command == "format")) options.command = "help";
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    if (argc == 2 && std::string_view(argv[1]) == "--version") {
        std::printf("basicfilters %s\n", BF_VERSION_TEXT);
        return kExitOk;
    }
    CommandLineOptions options;
    std::string error;
    if (!CCommandLine::Parse(std::vector<std::string>(argv + 1, argv + argc), options, error)) {
        std::fprintf(stderr, "basicfilters: %s\n%s", error.c_str(), kUsage);
        return kExitUsage;
    }
    if (WantsUsage(options)) {
        std::fputs(kUsage, stdout);
        return kExitOk;
    }
    if (options.command.empty()) {
        std::fputs(kUsage, stderr);
        return kExitUsage;
    }
    TurnHelpFlagIntoCommand(options);
    if (options.command == "info") return RunInfo(options);

    CModuleLoader module;
    const std::string path = options.modulePath.empty() ? CModuleLoader::DefaultModulePath() : options.modulePath;
    if (!module.Load(path, error)) {
        std::fprintf(stderr, "basicfilters: %s\n", error.c_str());
        return kExitFile;
    }
    auto host = CComPtr<CPluginHost>::Adopt(CPluginHost::Create(kHostLanguage));
    const CFilterCatalog catalog(module, static_cast<IPluginHost*>(host.Get()));
    return Dispatch(options, catalog);
}
