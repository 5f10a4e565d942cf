#include "Common/params/ParamList.h"

#include "Common/params/SettingNumbers.h"

#include <string>
#include <utility>
#include <vector>

namespace {

constexpr char16_t kEscape = u'\\';
constexpr char16_t kSeparator = u':';

// Numbers are ASCII: the first other character ends the text that can hold one.
std::string AsciiPrefix(WStringView text)
{
    std::string out;
    for (const char16_t c : text) {
        if (c == 0 || c >= 0x80) break;
        out += static_cast<char>(c);
    }
    return out;
}

// Four integers joined by "|", as "%d|%d|%d|%d" writes them.
bool ReadRect(WStringView text, RECT& rect)
{
    const std::string ascii = AsciiPrefix(text);
    const char* cursor = ascii.c_str();
    int* const fields[] = {&rect.left, &rect.top, &rect.right, &rect.bottom};
    for (int i = 0; i < 4; ++i) {
        if (i > 0 && *cursor++ != '|') return false;
        if (ReadSettingInt(cursor, *fields[i]) != NumberRead::Read) return false;
    }
    return true;
}

void AppendEscaped(WString& out, const WString& text)
{
    for (const char16_t c : text) {
        if (c == kEscape || c == kSeparator) out += kEscape;
        out += c;
    }
}

// What a parameter text holds: the well-formed pairs in text order, and whether
// anything was malformed.
struct ParsedText {
    std::vector<std::pair<WString, WString>> pairs;
    bool malformed = false;
};

// The reader's state between characters. An escape stays pending until a backslash
// or a colon takes it; the texts this module writes never put anything else after
// a backslash.
struct ParseState {
    WString key;
    WString value;
    bool readingValue = false;
    bool escaped = false;
    bool separated = false;
};

bool IsSeparator(char16_t c)
{
    return c == kSeparator || c == u'\n' || c == 0;
}

// A separator in value mode ends the pair, kept only when both halves are there and
// at least one of its two separators was not escaped.
void EndPair(ParseState& state, ParsedText& parsed)
{
    if (!state.key.empty() && !state.value.empty() && state.separated)
        parsed.pairs.emplace_back(std::move(state.key), std::move(state.value));
    else
        parsed.malformed = true;
    state.key.clear();
    state.value.clear();
    state.separated = false;
}

void ReadCharacter(ParseState& state, ParsedText& parsed, char16_t c)
{
    WString& current = state.readingValue ? state.value : state.key;
    if (state.escaped && (c == kEscape || c == kSeparator)) {
        current += c;
        state.escaped = false;
    } else if (c == kEscape) {
        state.escaped = true;
    } else if (IsSeparator(c)) {
        if (!state.escaped) state.separated = true;
        if (state.readingValue) EndPair(state, parsed);
        state.readingValue = !state.readingValue;
    } else {
        current += c;
    }
}

ParsedText ReadPairs(const char16_t* text)
{
    ParsedText parsed;
    ParseState state;
    // The terminating zero is read too: it ends the last pair like a line feed.
    const size_t length = WideLength(text);
    for (size_t i = 0; i <= length; ++i) ReadCharacter(state, parsed, text[i]);
    return parsed;
}

} // namespace

CParamList::CParamList(const char16_t* text)
{
    Parse(text);
}

CParamList::CParamList(const char* utf8)
{
    if (utf8 != nullptr) Parse(WidenUtf8(utf8).c_str());
}

int CParamList::Parse(const char16_t* text)
{
    if (text == nullptr) return 0;
    ParsedText parsed = ReadPairs(text);
    m_keys.RemoveAll();
    m_values.RemoveAll();
    for (auto& [key, value] : parsed.pairs) Append(std::move(key), std::move(value));
    if (!parsed.malformed) return 0;
    return Count() == 0 ? 1 : 2;
}

WString CParamList::ToString() const
{
    WString out;
    for (int i = 0; i < Count(); ++i) {
        AppendEscaped(out, m_keys.At(i));
        out += kSeparator;
        AppendEscaped(out, m_values.At(i));
        out += u'\n';
    }
    return out;
}

bool CParamList::Set(const char16_t* key, const char16_t* value)
{
    if (key == nullptr || value == nullptr) return false;
    const int index = m_keys.Find(key);
    if (index < 0) {
        Append(key, value);
    } else {
        m_keys.SetAt(index, key);
        m_values.SetAt(index, value);
    }
    return true;
}

const char16_t* CParamList::Get(const char16_t* key) const
{
    if (key == nullptr) return nullptr;
    const int index = m_keys.Find(key);
    return index < 0 ? nullptr : m_values.At(index).c_str();
}

bool CParamList::GetInt(const char16_t* key, int& value) const
{
    const char16_t* text = Get(key);
    if (text == nullptr) return false;
    const std::string ascii = AsciiPrefix(text);
    const char* cursor = ascii.c_str();
    int read = 0;
    if (ReadSettingInt(cursor, read) == NumberRead::Refused) return false;
    value = read;
    return true;
}

bool CParamList::GetDouble(const char16_t* key, double& value) const
{
    const char16_t* text = Get(key);
    if (text == nullptr) return false;
    double read = 0.0;
    if (ReadSettingDouble(AsciiPrefix(text).c_str(), read) == NumberRead::Refused) return false;
    value = read;
    return true;
}

bool CParamList::GetRect(const char16_t* key, RECT& rect) const
{
    const char16_t* text = Get(key);
    if (text == nullptr) return false;
    if (ReadRect(text, rect)) return true;
    rect = RECT{0, 0, 0, 0};
    return false;
}

bool CParamList::SetInt(const char16_t* key, int value)
{
    return Set(key, FormatWide(u"%d", {value}).c_str());
}

bool CParamList::SetDouble(const char16_t* key, double value)
{
    return Set(key, FormatWide(u"%lf", {value}).c_str());
}

bool CParamList::SetRect(const char16_t* key, int left, int top, int right, int bottom)
{
    return Set(key, FormatWide(u"%d|%d|%d|%d", {left, top, right, bottom}).c_str());
}

void CParamList::Append(WString key, WString value)
{
    m_keys.Add(std::move(key));
    m_values.Add(std::move(value));
}
