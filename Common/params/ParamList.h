#pragma once
// A filter's settings as ordered key/value pairs, and their text form: one line
// "key:value" per pair, with ":" and "\" escaped by a backslash. Keys are compared
// without regard to case.

#include "Common/params/StrArrayEx.h"
#include "platform/Rect.h"
#include "platform/WideString.h"

class CParamList {
public:
    CParamList() = default;
    // Both parse the text and ignore the result; null gives an empty list.
    explicit CParamList(const char16_t* text);
    explicit CParamList(const char* utf8);

    // Replaces the pairs with those of text. Answers 0 for a well-formed text, 1 for
    // a malformed one that gave no pair, 2 for a malformed one that gave some.
    // A null text answers 0 and keeps the pairs.
    int Parse(const char16_t* text);
    WString ToString() const;

    // False, changing nothing, for a null key or value. An existing key takes the
    // letter case given here.
    bool Set(const char16_t* key, const char16_t* value);
    // The stored text, valid until the list changes; null for a null or missing key.
    const char16_t* Get(const char16_t* key) const;

    // The getters answer false and leave the out-parameter alone when the key is
    // missing, and when its number is one no setting may hold (not finite, or far
    // beyond any dialog's range: see SettingNumbers.h), so that a filter treats such
    // a number as it treats a missing key. A text that is no number reads as 0 and
    // still answers true.
    bool GetInt(const char16_t* key, int& value) const;
    bool GetDouble(const char16_t* key, double& value) const;
    // True only for four integers joined by "|", each one a setting may hold;
    // otherwise the rectangle is emptied.
    bool GetRect(const char16_t* key, RECT& rect) const;

    bool SetInt(const char16_t* key, int value);
    bool SetDouble(const char16_t* key, double value);
    bool SetRect(const char16_t* key, int left, int top, int right, int bottom);

    int Count() const { return m_keys.Count(); }
    const char16_t* KeyAt(int index) const { return m_keys.At(index).c_str(); }
    const char16_t* ValueAt(int index) const { return m_values.At(index).c_str(); }

private:
    void Append(WString key, WString value);

    // Always of equal length; entry i of one belongs to entry i of the other.
    CStrArrayEx m_keys{false};
    CStrArrayEx m_values{false};
};
