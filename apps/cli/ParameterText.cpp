#include "apps/cli/ParameterText.h"

#include "Common/params/ParamList.h"

#include <cstdio>
#include <fstream>
#include <sstream>

namespace {

bool ReadTextFile(const std::string& path, std::string& text, std::string& error)
{
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        error = "cannot read the parameter file '" + path + "'";
        return false;
    }
    std::ostringstream contents;
    contents << file.rdbuf();
    text = contents.str();
    return true;
}

} // namespace

bool HasParameterText(const CommandLineOptions& options)
{
    return !options.formatText.empty() || !options.formatFile.empty() || !options.settings.empty();
}

bool BuildParameterList(const CommandLineOptions& options, CParamList& list, std::string& error)
{
    std::string base = options.formatText;
    if (!options.formatFile.empty() && !ReadTextFile(options.formatFile, base, error)) return false;
    const WString wideBase = WidenUtf8(base);
    if (list.Parse(wideBase.c_str()) != 0) {
        error = "the parameter text is not made of KEY:VALUE lines (write ':' and '\\' inside keys and values "
                "as '\\:' and '\\\\')";
        return false;
    }
    for (const auto& [key, value] : options.settings) {
        list.Set(WidenUtf8(key).c_str(), WidenUtf8(value).c_str());
    }
    return true;
}

bool PrepareParameterText(const FilterEntry& entry, const CommandLineOptions& options, WString& text,
                          SettingNotes& notes, std::string& error)
{
    CParamList list;
    if (!BuildParameterList(options, list, error)) return false;
    if (!entry.settings.empty() && !CheckAndComplete(entry, list, notes, error)) return false;
    text = list.ToString();
    return true;
}

void PrintSettingNotes(const FilterEntry& entry, const SettingNotes& notes, bool quiet)
{
    for (const std::string& warning : notes.warnings) {
        std::fprintf(stderr, "basicfilters: %s: %s\n", entry.menuPath.c_str(), warning.c_str());
    }
    if (quiet || notes.defaultsUsed.empty()) return;
    std::string used;
    for (const std::string& pair : notes.defaultsUsed) used += " " + pair;
    std::fprintf(stderr, "basicfilters: %s: using the defaults%s\n", entry.menuPath.c_str(), used.c_str());
}
