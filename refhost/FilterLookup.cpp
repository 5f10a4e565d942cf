#include "refhost/FilterLookup.h"

#include "refhost/FilterSettings.h"

#include <algorithm>
#include <cctype>

namespace {

std::string LastPart(const std::string& menuPath)
{
    const size_t slash = menuPath.rfind('\\');
    return slash == std::string::npos ? menuPath : menuPath.substr(slash + 1);
}

// People type the name they see in a menu, so the last part counts as much as the path.
std::vector<std::string> NearestFilters(const CFilterCatalog& catalog, const std::string& name)
{
    std::vector<std::string> names;
    for (const FilterEntry& entry : catalog.Entries()) {
        names.push_back(entry.menuPath);
        names.push_back(LastPart(entry.menuPath));
    }
    std::vector<std::string> paths;
    for (const std::string& near : NearestNames(name, names)) {
        for (const FilterEntry& entry : catalog.Entries()) {
            const bool named = entry.menuPath == near || LastPart(entry.menuPath) == near;
            if (named && std::find(paths.begin(), paths.end(), entry.menuPath) == paths.end()) {
                paths.push_back(entry.menuPath);
            }
        }
    }
    return paths;
}

std::string UnknownFilterMessage(const CFilterCatalog& catalog, const std::string& name)
{
    const bool isNumber = !name.empty() && std::all_of(name.begin(), name.end(), [](unsigned char c) {
        return std::isdigit(c) != 0;
    });
    if (isNumber && !catalog.Entries().empty()) {
        return "no filter has the index " + name + "; they run from 0 to " +
               std::to_string(catalog.Entries().size() - 1) + " (see 'basicfilters list')";
    }
    std::string guess;
    const std::vector<std::string> nearest = NearestFilters(catalog, name);
    for (size_t i = 0; i < nearest.size(); ++i) {
        guess += (i == 0 ? "" : i + 1 == nearest.size() ? " or " : ", ") + ("'" + nearest[i] + "'");
    }
    return "no filter named '" + name + "'" + (guess.empty() ? "" : "; did you mean " + guess + "?") +
           " (see 'basicfilters list')";
}

} // namespace

const FilterEntry* FindFilterByName(const CFilterCatalog& catalog, const std::string& name, std::string& error)
{
    const auto found = catalog.Find(name);
    if (found.size() == 1) return found.front();
    if (found.empty()) {
        error = UnknownFilterMessage(catalog, name);
        return nullptr;
    }
    error = "'" + name + "' names several filters; give the menu path or index:";
    for (const FilterEntry* entry : found) error += "\n  " + std::to_string(entry->index) + "  " + entry->menuPath;
    return nullptr;
}
