#include "Common/params/StrArrayEx.h"

#include <algorithm>

namespace {

char16_t FoldAsciiCase(char16_t c)
{
    return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c + (u'a' - u'A')) : c;
}

// The order of sorted mode; equal texts under it are exactly those EqualsIgnoringCase accepts.
bool LessIgnoringCase(WStringView a, WStringView b)
{
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                        [](char16_t x, char16_t y) { return FoldAsciiCase(x) < FoldAsciiCase(y); });
}

} // namespace

void CStrArrayEx::Add(WString text)
{
    if (!m_sorted) {
        m_items.push_back(std::move(text));
        return;
    }
    // After the equal ones, so that the first of several equal texts stays the one found.
    const auto at = std::upper_bound(m_items.begin(), m_items.end(), text,
                                     [](const WString& a, const WString& b) { return LessIgnoringCase(a, b); });
    m_items.insert(at, std::move(text));
}

int CStrArrayEx::Find(WStringView text) const
{
    return m_sorted ? FindSorted(text) : FindLinear(text);
}

int CStrArrayEx::FindLinear(WStringView text) const
{
    const auto found = std::find_if(m_items.begin(), m_items.end(),
                                    [&](const WString& item) { return EqualsIgnoringCase(item, text); });
    return found == m_items.end() ? -1 : static_cast<int>(found - m_items.begin());
}

int CStrArrayEx::FindSorted(WStringView text) const
{
    const auto found = std::lower_bound(m_items.begin(), m_items.end(), text,
                                        [](const WString& item, WStringView t) { return LessIgnoringCase(item, t); });
    if (found == m_items.end() || !EqualsIgnoringCase(*found, text)) return -1;
    return static_cast<int>(found - m_items.begin());
}
