#pragma once
// A component's display name: loaded from the string table on first use, in the
// language current then, and kept for the life of the module.

#include "platform/WideString.h"

class CComponentName {
public:
    explicit CComponentName(unsigned stringId) : m_stringId(stringId) {}

    // A failed load leaves the cache empty, so that the next call tries again.
    const char16_t* Get();

private:
    unsigned m_stringId;
    WString m_cached;
};
