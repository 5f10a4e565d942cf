#include "Common/base/FilterFormat.h"

#include <vector>

WString ReadFilterFormat(IHaveFormat* filter)
{
    // Another thread may set a longer text between the two calls: ask again then.
    for (;;) {
        const int needed = filter->GetFormat(nullptr, 0);
        if (needed <= 1) return {};
        std::vector<char16_t> buffer(static_cast<size_t>(needed));
        if (filter->GetFormat(buffer.data(), needed) == needed) return WString(buffer.data());
    }
}
