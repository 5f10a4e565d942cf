#include "refhost/FilterSettings.h"

#include "Common/params/SettingNumbers.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <cmath>
#include <set>

namespace {

char Lower(char c)
{
    return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

bool SameIgnoringCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return Lower(x) == Lower(y);
           });
}

// A declared key ending in "%03d" stands for the keys it formats: its prefix and
// three or more digits.
constexpr std::string_view kNumberedSuffix = "%03d";

bool IsNumberedKey(std::string_view declared)
{
    return declared.size() > kNumberedSuffix.size() && declared.ends_with(kNumberedSuffix);
}

bool IsNumberedInstance(std::string_view declared, std::string_view key)
{
    const std::string_view prefix = declared.substr(0, declared.size() - kNumberedSuffix.size());
    if (key.size() < prefix.size() + 3 || !SameIgnoringCase(prefix, key.substr(0, prefix.size()))) return false;
    const std::string_view digits = key.substr(prefix.size());
    return std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::string Utf8(const char16_t* text)
{
    return text != nullptr ? NarrowToUtf8(WStringView(text)) : std::string();
}

// A leading '+' is how people write a brightness increase; the module's number
// reading takes it too.
std::string_view WithoutPlus(std::string_view text)
{
    return text.size() > 1 && text.front() == '+' ? text.substr(1) : text;
}

bool ReadsAsDouble(std::string_view text, double& value)
{
    text = WithoutPlus(text);
    const auto [end, failure] = std::from_chars(text.data(), text.data() + text.size(), value);
    return failure == std::errc() && end == text.data() + text.size();
}

bool ReadsAsInt(std::string_view text, int& value)
{
    text = WithoutPlus(text);
    const auto [end, failure] = std::from_chars(text.data(), text.data() + text.size(), value);
    return failure == std::errc() && end == text.data() + text.size();
}

// The number a number setting's text holds; false with why when it holds none, or
// one the module would take as no value at all.
bool CheckNumber(const FilterSetting& setting, const std::string& text, double& value, std::string& error)
{
    const bool real = setting.type == SettingType::Real;
    int whole = 0;
    const bool read = real ? ReadsAsDouble(text, value) : ReadsAsInt(text, whole);
    if (!real) value = whole;
    if (read && IsSettingNumber(value)) return true;
    const std::string bound = std::to_string(static_cast<long long>(kLargestSettingMagnitude));
    const std::string wanted = real ? "a number" : setting.type == SettingType::Flag ? "a whole number (0 or 1)"
                                                                                    : "a whole number";
    error = setting.key + " wants " + wanted + " from -" + bound + " to " + bound + ", got '" + text + "'";
    return false;
}

std::string UnknownKeyMessage(const FilterEntry& entry, const std::string& key)
{
    std::vector<std::string> keys;
    for (const FilterSetting& setting : entry.settings) keys.push_back(setting.key);
    const std::vector<std::string> nearest = NearestNames(key, keys);
    const std::string start = "unknown setting '" + key + "' for " + entry.menuPath + "; ";
    if (nearest.empty()) return start + "it takes: " + KeyList(entry);
    return start + "did you mean " + nearest.front() + "? It takes: " + KeyList(entry);
}

// A page given in another letter case is written as declared: the filters compare
// page names exactly.
bool CheckPage(const FilterSetting& setting, CParamList& list, const WString& givenKey, const std::string& value,
               std::string& error)
{
    for (const std::string& choice : setting.choices) {
        if (!SameIgnoringCase(choice, value)) continue;
        if (choice != value) list.Set(givenKey.c_str(), WidenUtf8(choice).c_str());
        return true;
    }
    error = setting.key + " takes " + RangeText(setting) + ", not '" + value + "'";
    return false;
}

bool InRange(const FilterSetting& setting, double value)
{
    return value >= setting.minimum && value <= setting.maximum;
}

// Every key the user gave, checked against the declaration.
bool CheckGiven(const FilterEntry& entry, CParamList& list, SettingNotes& notes, std::string& error)
{
    for (int i = 0; i < list.Count(); ++i) {
        const std::string key = Utf8(list.KeyAt(i));
        const std::string value = Utf8(list.ValueAt(i));
        const FilterSetting* setting = FindSetting(entry, key);
        if (setting == nullptr) {
            error = UnknownKeyMessage(entry, key);
            return false;
        }
        if (setting->type == SettingType::Page) {
            if (!CheckPage(*setting, list, WString(list.KeyAt(i)), value, error)) return false;
            continue;
        }
        double number = 0.0;
        if (!CheckNumber(*setting, value, number, error)) return false;
        if (!InRange(*setting, number)) {
            notes.warnings.push_back(setting->key + "=" + value + " is outside the dialog's range " +
                                     RangeText(*setting) + "; passed on as given");
        }
    }
    return true;
}

// The pages the parameter text selects: each page setting's value, or its start.
std::set<std::string> ChosenPages(const FilterEntry& entry, const CParamList& list)
{
    std::set<std::string> pages;
    for (const FilterSetting& setting : entry.settings) {
        if (setting.type != SettingType::Page) continue;
        const char16_t* given = list.Get(WidenUtf8(setting.key).c_str());
        pages.insert(given != nullptr ? Utf8(given) : setting.startText);
    }
    return pages;
}

void WarnOfUnreadKeys(const FilterEntry& entry, const CParamList& list, const std::set<std::string>& pages,
                      SettingNotes& notes)
{
    for (const FilterSetting& setting : entry.settings) {
        if (setting.page.empty() || pages.count(setting.page) != 0) continue;
        if (list.Get(WidenUtf8(setting.key).c_str()) == nullptr) continue;
        notes.warnings.push_back(setting.key + " belongs to the page " + setting.page +
                                 ", which is not the chosen one; the filter does not read it");
    }
}

// Written as the dialogs write them: integers "%d", reals "%lf".
void SetStart(const FilterSetting& setting, CParamList& list)
{
    const WString key = WidenUtf8(setting.key);
    switch (setting.type) {
    case SettingType::Page: list.Set(key.c_str(), WidenUtf8(setting.startText).c_str()); break;
    case SettingType::Real: list.SetDouble(key.c_str(), setting.start); break;
    case SettingType::Integer:
    case SettingType::Flag: list.SetInt(key.c_str(), static_cast<int>(std::lround(setting.start))); break;
    }
}

void AddStartValues(const FilterEntry& entry, CParamList& list, const std::set<std::string>& pages,
                    SettingNotes& notes)
{
    for (const FilterSetting& setting : entry.settings) {
        if (setting.fromPhoto || IsNumberedKey(setting.key)) continue;
        if (!setting.page.empty() && pages.count(setting.page) == 0) continue;
        const WString key = WidenUtf8(setting.key);
        if (list.Get(key.c_str()) != nullptr) continue;
        SetStart(setting, list);
        notes.defaultsUsed.push_back(setting.key + "=" + Utf8(list.Get(key.c_str())));
    }
}

} // namespace

const FilterSetting* FindSetting(const FilterEntry& entry, std::string_view key)
{
    for (const FilterSetting& setting : entry.settings) {
        if (SameIgnoringCase(setting.key, key)) return &setting;
    }
    for (const FilterSetting& setting : entry.settings) {
        if (IsNumberedKey(setting.key) && IsNumberedInstance(setting.key, key)) return &setting;
    }
    return nullptr;
}

size_t EditDistance(std::string_view a, std::string_view b)
{
    // Optimal string alignment: three rows of the table are enough for the swap.
    std::vector<size_t> before(b.size() + 1), previous(b.size() + 1), current(b.size() + 1);
    for (size_t j = 0; j <= b.size(); ++j) previous[j] = j;
    for (size_t i = 1; i <= a.size(); ++i) {
        current[0] = i;
        for (size_t j = 1; j <= b.size(); ++j) {
            const size_t replace = Lower(a[i - 1]) == Lower(b[j - 1]) ? 0 : 1;
            current[j] = std::min({previous[j] + 1, current[j - 1] + 1, previous[j - 1] + replace});
            if (i > 1 && j > 1 && Lower(a[i - 1]) == Lower(b[j - 2]) && Lower(a[i - 2]) == Lower(b[j - 1])) {
                current[j] = std::min(current[j], before[j - 2] + 1);
            }
        }
        std::swap(before, previous);
        std::swap(previous, current);
    }
    return previous[b.size()];
}

// A third of the letters wrong still reads as a typo; more reads as another word.
bool IsNearEnough(std::string_view typed, size_t distance)
{
    return distance <= std::max<size_t>(2, typed.size() / 3);
}

// Names that hold what was typed ("Brightness" in "BrightnessValue"): people shorten.
std::vector<std::string> NamesHolding(std::string_view typed, const std::vector<std::string>& candidates)
{
    constexpr size_t kShortestPart = 3;
    std::vector<std::string> holding;
    if (typed.size() < kShortestPart) return holding;
    for (const std::string& candidate : candidates) {
        const auto found = std::search(candidate.begin(), candidate.end(), typed.begin(), typed.end(),
                                       [](char a, char b) { return Lower(a) == Lower(b); });
        if (found != candidate.end() && std::find(holding.begin(), holding.end(), candidate) == holding.end()) {
            holding.push_back(candidate);
        }
    }
    return holding;
}

std::vector<std::string> NearestNames(std::string_view typed, const std::vector<std::string>& candidates)
{
    std::vector<std::string> nearest;
    size_t best = std::string::npos;
    for (const std::string& candidate : candidates) {
        const size_t distance = EditDistance(typed, candidate);
        if (!IsNearEnough(typed, distance) || distance > best) continue;
        if (distance < best) nearest.clear();
        best = distance;
        if (std::find(nearest.begin(), nearest.end(), candidate) == nearest.end()) nearest.push_back(candidate);
    }
    return nearest.empty() ? NamesHolding(typed, candidates) : nearest;
}

const char* SettingTypeName(SettingType type)
{
    switch (type) {
    case SettingType::Integer: return "integer";
    case SettingType::Real: return "real";
    case SettingType::Page: return "page";
    case SettingType::Flag: return "flag";
    }
    return "integer";
}

std::string NumberText(double value)
{
    std::array<char, 32> buffer{};
    const auto [end, failure] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    return failure == std::errc() ? std::string(buffer.data(), end) : std::string("?");
}

std::string RangeText(const FilterSetting& setting)
{
    if (setting.type == SettingType::Page) {
        std::string text;
        for (size_t i = 0; i < setting.choices.size(); ++i) {
            if (i > 0) text += i + 1 == setting.choices.size() ? " or " : ", ";
            text += setting.choices[i];
        }
        return text;
    }
    const bool low = std::isfinite(setting.minimum);
    const bool high = std::isfinite(setting.maximum);
    if (low && high) return NumberText(setting.minimum) + " to " + NumberText(setting.maximum);
    if (low) return NumberText(setting.minimum) + " or more";
    if (high) return "up to " + NumberText(setting.maximum);
    return "any";
}

std::string DefaultText(const FilterSetting& setting)
{
    if (setting.fromPhoto) return "from the photo";
    if (IsNumberedKey(setting.key)) return "none (given per point)";
    if (setting.type == SettingType::Page) return setting.startText;
    return NumberText(setting.start);
}

std::string KeyList(const FilterEntry& entry)
{
    std::string keys;
    for (const FilterSetting& setting : entry.settings) keys += (keys.empty() ? "" : ", ") + setting.key;
    return keys;
}

bool CheckAndComplete(const FilterEntry& entry, CParamList& list, SettingNotes& notes, std::string& error)
{
    if (!CheckGiven(entry, list, notes, error)) return false;
    const std::set<std::string> pages = ChosenPages(entry, list);
    WarnOfUnreadKeys(entry, list, pages, notes);
    AddStartValues(entry, list, pages, notes);
    return true;
}
