#include "tests/robustness/HostileTexts.h"

#include "Common/params/ParamList.h"

#include <cmath>
#include <cstdio>

namespace {

// Numbers no dialog writes, and texts that are no number or only start like one.
const char* const kHostileValues[] = {
    "nan", "-nan", "inf", "-inf", "infinity", "1e308", "-1e308", "1e309", "1e9", "-1e9", "1e8", "999999999",
    "1000000000", "-1000000000", "1000000001", "-1000000001", "2147483647", "-2147483648", "2147483648",
    "99999999999999999999", "0", "-0", "-1", "1e-320", "0x7fffffff", "abc", "12abc", " 5", "+7", "- 3", ".", "e5",
    "1|2|3|4", "32000", "-32000", "65536", "46341",
};

std::string NumberText(double value, bool whole)
{
    char buffer[64];
    if (whole) std::snprintf(buffer, sizeof buffer, "%lld", static_cast<long long>(value));
    else std::snprintf(buffer, sizeof buffer, "%.17g", value);
    return buffer;
}

// A value within the declared range where it has one, else within what a dialog
// could plausibly write.
std::string DeclaredValue(const FilterSetting& setting, std::mt19937& random)
{
    if (setting.type == SettingType::Page) {
        if (setting.choices.empty()) return "page";
        return setting.choices[random() % setting.choices.size()];
    }
    const double low = std::isfinite(setting.minimum) ? setting.minimum : -1000.0;
    const double high = std::isfinite(setting.maximum) ? setting.maximum : low + 5000.0;
    const double value = std::uniform_real_distribution<double>(low, high)(random);
    return NumberText(value, setting.type != SettingType::Real);
}

// Just outside the range, or far outside it.
std::string BeyondValue(const FilterSetting& setting, std::mt19937& random)
{
    const double low = std::isfinite(setting.minimum) ? setting.minimum : -1000.0;
    const double high = std::isfinite(setting.maximum) ? setting.maximum : 1000.0;
    const double span = std::max(1.0, high - low);
    const double scale = random() % 2 == 0 ? 1.0 : 1000.0;
    const double value = random() % 2 == 0 ? low - span * scale : high + span * scale;
    return NumberText(value, setting.type != SettingType::Real);
}

std::string ValueFor(const FilterSetting& setting, bool tame, std::mt19937& random)
{
    if (tame) return DeclaredValue(setting, random);
    switch (random() % 8) {
    case 0: return kHostileValues[random() % std::size(kHostileValues)];
    case 1: return BeyondValue(setting, random);
    case 2: return std::string(1 + random() % 400, static_cast<char>('0' + random() % 10));
    default: return DeclaredValue(setting, random);
    }
}

// A key declared as "X%03d" stands for X000, X001, ...: a few of them, some missing.
void AddNumbered(CParamList& list, const FilterSetting& setting, bool tame, std::mt19937& random)
{
    const std::string prefix = setting.key.substr(0, setting.key.size() - 4);
    const int count = static_cast<int>(random() % 12);
    for (int k = 0; k < count; ++k) {
        if (!tame && random() % 6 == 0) continue;
        char number[16];
        std::snprintf(number, sizeof number, "%03d", k);
        list.Set(WidenUtf8(prefix + number).c_str(), WidenUtf8(ValueFor(setting, tame, random)).c_str());
    }
}

// Characters that do not decode, a zero in the middle, and separators in odd places.
WString BrokenText(std::mt19937& random)
{
    static const char16_t kOdd[] = {0xD800, 0xDFFF, 0xDC00, 0xFFFF, 0xFFFE, u':', u'\\', u'\n', u'\r', u'|', 0x0663};
    WString text;
    const size_t length = 1 + random() % 300;
    for (size_t i = 0; i < length; ++i) {
        text += random() % 3 == 0 ? kOdd[random() % std::size(kOdd)] : static_cast<char16_t>(0x20 + random() % 0x60);
    }
    return text;
}

} // namespace

WString HostileParameterText(const std::vector<FilterSetting>& settings, std::mt19937& random)
{
    const unsigned shape = random() % 20;
    if (shape == 0) return WString();
    if (shape == 1) return BrokenText(random);
    // A third of the texts hold every key within its range, so that the filters'
    // pixel work runs as often as their refusals.
    const bool tame = shape % 3 == 0;
    CParamList list;
    for (const FilterSetting& setting : settings) {
        if (!tame && random() % 7 == 0) continue;  // a missing key
        if (setting.key.ends_with("%03d")) {
            AddNumbered(list, setting, tame, random);
            continue;
        }
        WString key = WidenUtf8(setting.key);
        if (!tame && random() % 9 == 0) key += BrokenText(random).substr(0, 2);  // a key that matches none
        WString value = WidenUtf8(ValueFor(setting, tame, random));
        if (!tame && random() % 15 == 0) value += BrokenText(random);
        list.Set(key.c_str(), value.c_str());
    }
    if (random() % 6 == 0) list.Set(u"Unknown", WidenUtf8(kHostileValues[random() % std::size(kHostileValues)]).c_str());
    WString text = list.ToString();
    // A very long text: the same pairs again after a long run of junk.
    if (shape == 2) text = WString(100000, u'9') + u"\n" + text + BrokenText(random) + text;
    return text;
}

WString HostileShapeText(int width, int height, std::mt19937& random)
{
    const auto inside = [&random](int size) { return static_cast<int>(random() % (static_cast<unsigned>(size) + 1)); };
    switch (random() % 6) {
    case 0: return u"";
    case 1: return u"2147483647 -2147483648 99999999999 -1";
    case 2: return WidenUtf8(std::to_string(-inside(width)) + " " + std::to_string(-inside(height)) + " " +
                             std::to_string(width * 3) + " " + std::to_string(height * 3));
    case 3: return BrokenText(random);
    default:
        return WidenUtf8(std::to_string(inside(width)) + " " + std::to_string(inside(height)) + " " +
                         std::to_string(inside(width)) + " " + std::to_string(inside(height)));
    }
}

std::string Printable(const WString& text)
{
    constexpr size_t kShown = 600;
    std::string out;
    for (size_t i = 0; i < text.size() && out.size() < kShown; ++i) {
        const char16_t c = text[i];
        if (c == u'\n') {
            out += "\\n";
        } else if (c >= 0x20 && c < 0x7F) {
            out += static_cast<char>(c);
        } else {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04X", static_cast<unsigned>(c));
            out += escaped;
        }
    }
    if (out.size() >= kShown) out += "... (" + std::to_string(text.size()) + " characters)";
    return out;
}
