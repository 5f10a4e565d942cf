#include "platform/IconDirectory.h"

namespace {

uint32_t ReadU32(const unsigned char* p)
{
    return uint32_t{p[0]} | (uint32_t{p[1]} << 8) | (uint32_t{p[2]} << 16) | (uint32_t{p[3]} << 24);
}

constexpr size_t kRecordHeader = 8;

} // namespace

std::vector<IconEntry> ParseIconDirectory(std::span<const unsigned char> section)
{
    std::vector<IconEntry> entries;
    size_t at = 0;
    while (section.size() - at >= kRecordHeader) {
        const uint32_t id = ReadU32(section.data() + at);
        const uint32_t size = ReadU32(section.data() + at + 4);
        at += kRecordHeader;
        if (id == 0 || size > section.size() - at) break;
        entries.push_back({static_cast<int>(id), section.subspan(at, size)});
        const size_t padded = (size_t{size} + 3) & ~size_t{3};
        if (padded > section.size() - at) break;
        at += padded;
    }
    return entries;
}
