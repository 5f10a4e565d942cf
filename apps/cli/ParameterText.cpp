#include "apps/cli/ParameterText.h"

#include "Common/params/ParamList.h"

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

bool BuildParameterText(const CommandLineOptions& options, WString& text, std::string& error)
{
    std::string base = options.formatText;
    if (!options.formatFile.empty() && !ReadTextFile(options.formatFile, base, error)) return false;
    CParamList list;
    const WString wideBase = WidenUtf8(base);
    if (list.Parse(wideBase.c_str()) != 0) {
        error = "the parameter text is not made of KEY:VALUE lines (write ':' and '\\' inside keys and values "
                "as '\\:' and '\\\\')";
        return false;
    }
    for (const auto& [key, value] : options.settings) {
        list.Set(WidenUtf8(key).c_str(), WidenUtf8(value).c_str());
    }
    text = list.ToString();
    return true;
}
