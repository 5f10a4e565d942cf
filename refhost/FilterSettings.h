#pragma once
// What the tool does with the settings a filter declares: finds keys as the filter
// does (letter case ignored), checks the values a user gives, fills in the dialog's
// start values, and words ranges and defaults for help.

#include "Common/params/ParamList.h"
#include "refhost/FilterCatalog.h"

#include <string>
#include <string_view>
#include <vector>

// Null when the filter declares no such key.
const FilterSetting* FindSetting(const FilterEntry& entry, std::string_view key);

// Edits (insert, delete, replace, swap of neighbours) from one text to the other,
// letter case ignored.
size_t EditDistance(std::string_view a, std::string_view b);

// Whether what was typed is close enough to a name to offer the name as a guess.
bool IsNearEnough(std::string_view typed, size_t distance);

// The names among candidates at the least edit distance from typed, if near enough.
std::vector<std::string> NearestNames(std::string_view typed, const std::vector<std::string>& candidates);

const char* SettingTypeName(SettingType type);
// The shortest text that reads back as the same double ("2.5", "0.01", "-100").
std::string NumberText(double value);
// "1 to 4", "2 or more", "UnsharpMask or GaussianBlur".
std::string RangeText(const FilterSetting& setting);
// "1", "2.5", "UnsharpMask" or "from the photo".
std::string DefaultText(const FilterSetting& setting);
// The keys of the filter, comma-separated.
std::string KeyList(const FilterEntry& entry);

struct SettingNotes {
    std::vector<std::string> warnings;      // values passed on that the user may not mean
    std::vector<std::string> defaultsUsed;  // KEY=VALUE, as handed to the filter
};

// Refuses (false, with why) an unknown key, a number setting's value that is no
// number, and a page that is not among the choices; warns of numbers outside the
// dialog's range and of keys the chosen page does not read. Then adds the start
// values of the keys that apply and are missing: those of no page and those of the
// chosen page. Settings that start from the photo stay out: the filter takes the photo's.
bool CheckAndComplete(const FilterEntry& entry, CParamList& list, SettingNotes& notes, std::string& error);
