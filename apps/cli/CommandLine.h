#pragma once
// The words of a basicfilters call, sorted into a command, its operands and options.

#include <array>
#include <optional>
#include <string>
#include <utility>
#include <vector>

struct CommandLineOptions {
    std::string command;                 // list, apply, format, help, recipe, batch...
    std::vector<std::string> operands;   // what is left after the options
    std::vector<std::pair<std::string, std::string>> settings;  // --set KEY=VALUE, in order
    std::string formatText;              // --format
    std::string formatFile;              // --format-file
    std::string modulePath;              // --module
    std::string recipeFile;              // --recipe: apply and batch run a recipe
    int jobs = 0;                        // --jobs: photos a batch works on at once; 0 for one a core
    std::string suffix;                  // --suffix: a batch writes beside each photo, this after its name
    std::string outDir;                  // --out-dir: a batch writes into this folder
    int quality = -1;                    // --quality
    // --selection L,T,R,B and --line X1,Y1,X2,Y2: picture pixels, y from the top.
    std::optional<std::array<int, 4>> selection;
    std::optional<std::array<int, 4>> line;
    bool json = false;
    bool help = false;      // --help, -h: the usage, or a filter's settings after apply/format FILTER
    bool markdown = false;  // help --markdown: the settings of every filter as a Markdown table
    bool quiet = false;
    bool overwrite = false;
    // apply --print-settings: the parameter text the filter holds after the apply, on
    // stdout (with what it measured written back, for --format-file).
    bool printSettings = false;
};

class CCommandLine {
public:
    // False with a message for an unknown option, a missing option value or a
    // malformed one; the command is the first word that is not an option.
    static bool Parse(const std::vector<std::string>& words, CommandLineOptions& options, std::string& error);
};
