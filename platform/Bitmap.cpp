#include "platform/Bitmap.h"

#include <cstdlib>
#include <cstring>
#include <limits>
#include <new>

struct BitmapSection {
    int width;
    int height;
    uint32_t* bits;
};

HBITMAP CreateBitmapSection32(int width, int height)
{
    if (width <= 0 || height <= 0) return nullptr;
    const auto pixels = static_cast<size_t>(width) * static_cast<size_t>(height);
    // The stride must fit the int the description reports.
    if (static_cast<size_t>(width) > static_cast<size_t>(std::numeric_limits<int32_t>::max() / 4)) return nullptr;
    if (pixels > std::numeric_limits<size_t>::max() / 4) return nullptr;
    auto* bits = static_cast<uint32_t*>(std::calloc(pixels, 4));
    if (bits == nullptr) return nullptr;
    auto* section = new (std::nothrow) BitmapSection{width, height, bits};
    if (section == nullptr) std::free(bits);
    return section;
}

void DeleteBitmapSection(HBITMAP bitmap)
{
    if (bitmap == nullptr) return;
    std::free(bitmap->bits);
    delete bitmap;
}

int GetObjectW(HBITMAP bitmap, int size, void* buffer)
{
    if (bitmap == nullptr || buffer == nullptr || size < static_cast<int>(sizeof(BITMAP))) return 0;
    BITMAP description{};
    description.bmType = 0;
    description.bmWidth = bitmap->width;
    description.bmHeight = bitmap->height;
    description.bmWidthBytes = bitmap->width * 4;
    description.bmPlanes = 1;
    description.bmBitsPixel = 32;
    description.bmBits = bitmap->bits;
    std::memcpy(buffer, &description, sizeof description);
    return static_cast<int>(sizeof description);
}
