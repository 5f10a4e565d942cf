#pragma once
// An ordered, growable array of wide strings. Parameter lists keep it unsorted, so
// that pairs stay in the order they were written and a look-up walks the array; in
// sorted mode additions keep the order of texts compared without regard to case and
// look-ups bisect.

#include "platform/WideString.h"

#include <vector>

class CStrArrayEx {
public:
    explicit CStrArrayEx(bool sorted = false) : m_sorted(sorted) {}

    bool IsSorted() const { return m_sorted; }
    int Count() const { return static_cast<int>(m_items.size()); }
    const WString& At(int index) const { return m_items[static_cast<size_t>(index)]; }

    // In sorted mode the new text must compare equal to the old one without regard
    // to case (a key rewritten in other letters), or the order breaks.
    void SetAt(int index, WString text) { m_items[static_cast<size_t>(index)] = std::move(text); }
    void Add(WString text);
    void RemoveAll() { m_items.clear(); }

    // Index of the first entry equal to text without regard to case; -1 when none.
    int Find(WStringView text) const;

private:
    int FindLinear(WStringView text) const;
    int FindSorted(WStringView text) const;

    std::vector<WString> m_items;
    bool m_sorted;
};
