#include "apps/cli/CommandLine.h"

#include "refhost/Recipe.h"

#include <charconv>

namespace {

// More workers than this would only wait for each other's disks.
constexpr int kMostJobs = 256;

bool ParseSetting(const std::string& text, CommandLineOptions& options, std::string& error)
{
    const size_t equals = text.find('=');
    // A parameter text cannot hold an empty key or an empty value.
    if (equals == std::string::npos || equals == 0 || equals + 1 == text.size()) {
        error = "--set wants KEY=VALUE, got '" + text + "'";
        return false;
    }
    options.settings.emplace_back(text.substr(0, equals), text.substr(equals + 1));
    return true;
}

bool ParseWholeNumber(const std::string& option, const std::string& text, int lowest, int highest, int& number,
                      std::string& error)
{
    int value = -1;
    const auto [end, failure] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (failure != std::errc() || end != text.data() + text.size() || value < lowest || value > highest) {
        error = option + " wants a whole number from " + std::to_string(lowest) + " to " + std::to_string(highest) +
                ", got '" + text + "'";
        return false;
    }
    number = value;
    return true;
}

// Four whole numbers separated by commas (or spaces, in a quoted word).
bool ParseShape(const std::string& option, const std::string& text, std::optional<std::array<int, 4>>& shape,
                std::string& error, const char* names)
{
    std::array<int, 4> numbers{};
    if (!ParseShapeNumbers(text, numbers)) {
        error = option + " wants " + names + ", four whole numbers separated by commas, got '" + text + "'";
        return false;
    }
    shape = numbers;
    return true;
}

// Options that take the next word as their value.
bool TakeValue(const std::string& option, const std::string& value, CommandLineOptions& options, std::string& error)
{
    if (option == "--set") return ParseSetting(value, options, error);
    if (option == "--quality") return ParseWholeNumber(option, value, 0, 100, options.quality, error);
    if (option == "--jobs") return ParseWholeNumber(option, value, 1, kMostJobs, options.jobs, error);
    if (option == "--selection") return ParseShape(option, value, options.selection, error, "LEFT,TOP,RIGHT,BOTTOM");
    if (option == "--line") return ParseShape(option, value, options.line, error, "X1,Y1,X2,Y2");
    if (option == "--format") options.formatText = value;
    else if (option == "--format-file") options.formatFile = value;
    else if (option == "--module") options.modulePath = value;
    else if (option == "--recipe") options.recipeFile = value;
    else if (option == "--suffix") options.suffix = value;
    else if (option == "--out-dir") options.outDir = value;
    return true;
}

bool IsValueOption(const std::string& word)
{
    return word == "--set" || word == "--format" || word == "--format-file" || word == "--module" ||
           word == "--quality" || word == "--selection" || word == "--line" || word == "--recipe" ||
           word == "--jobs" || word == "--suffix" || word == "--out-dir";
}

bool TakeFlag(const std::string& word, CommandLineOptions& options)
{
    if (word == "--json") options.json = true;
    else if (word == "--quiet" || word == "-q") options.quiet = true;
    else if (word == "--overwrite") options.overwrite = true;
    else if (word == "--help" || word == "-h") options.help = true;
    else if (word == "--markdown") options.markdown = true;
    else if (word == "--print-settings") options.printSettings = true;
    else return false;
    return true;
}

} // namespace

bool CCommandLine::Parse(const std::vector<std::string>& words, CommandLineOptions& options, std::string& error)
{
    bool optionsEnded = false;
    for (size_t i = 0; i < words.size(); ++i) {
        const std::string& word = words[i];
        const bool isOption = !optionsEnded && word.size() > 1 && word[0] == '-';
        if (!isOption) {
            if (options.command.empty()) options.command = word;
            else options.operands.push_back(word);
        } else if (word == "--") {
            optionsEnded = true;
        } else if (IsValueOption(word)) {
            if (i + 1 >= words.size()) {
                error = word + " wants a value";
                return false;
            }
            if (!TakeValue(word, words[++i], options, error)) return false;
        } else if (!TakeFlag(word, options)) {
            error = "unknown option '" + word + "'";
            return false;
        }
    }
    if (!options.formatText.empty() && !options.formatFile.empty()) {
        error = "give either --format or --format-file, not both";
        return false;
    }
    if (!options.suffix.empty() && !options.outDir.empty()) {
        error = "give either --suffix or --out-dir, not both";
        return false;
    }
    return true;
}
