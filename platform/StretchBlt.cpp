#include "platform/StretchBlt.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace {

// Which source index each target index takes; 64-bit products cannot overflow.
std::vector<int> NearestIndices(int targetSize, int sourceSize)
{
    std::vector<int> indices(static_cast<size_t>(targetSize));
    for (int i = 0; i < targetSize; ++i) {
        indices[static_cast<size_t>(i)] = static_cast<int>(int64_t{i} * sourceSize / targetSize);
    }
    return indices;
}

// Sections are stored bottom-up.
uint32_t* RowOf(const BITMAP& section, int rowFromTop)
{
    const int memoryRow = section.bmHeight - 1 - rowFromTop;
    return reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(section.bmBits) +
                                       static_cast<ptrdiff_t>(memoryRow) * section.bmWidthBytes);
}

} // namespace

bool StretchSectionColorOnColor(HBITMAP target, HBITMAP source)
{
    BITMAP to{};
    BITMAP from{};
    if (GetObjectW(target, sizeof to, &to) == 0 || GetObjectW(source, sizeof from, &from) == 0) return false;
    const std::vector<int> columns = NearestIndices(to.bmWidth, from.bmWidth);
    const std::vector<int> rows = NearestIndices(to.bmHeight, from.bmHeight);
    for (int y = 0; y < to.bmHeight; ++y) {
        const uint32_t* sourceRow = RowOf(from, rows[static_cast<size_t>(y)]);
        uint32_t* targetRow = RowOf(to, y);
        for (int x = 0; x < to.bmWidth; ++x) targetRow[x] = sourceRow[columns[static_cast<size_t>(x)]];
    }
    return true;
}
