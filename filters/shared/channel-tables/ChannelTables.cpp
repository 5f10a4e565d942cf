#include "filters/shared/channel-tables/ChannelTables.h"
#include "filters/shared/parallel/RowBands.h"

#include "filters/shared/channel-tables/ChannelMapper.h"
#include "filters/shared/pixels/KernelBridge.h"

#include <cstring>

PreparedChannelTables::PreparedChannelTables(const ChannelTables& tables)
{
    for (int i = 0; i < 256; ++i) {
        red[i] = uint32_t{tables.red[i]} << 16;
        green[i] = uint32_t{tables.green[i]} << 8;
        blue[i] = tables.blue[i];
    }
    for (int run = 0; run < 16; ++run) {
        for (int half = 0; half < 32; half += 16) {
            std::memcpy(redRuns[run] + half, tables.red + 16 * run, 16);
            std::memcpy(greenRuns[run] + half, tables.green + 16 * run, 16);
            std::memcpy(blueRuns[run] + half, tables.blue + 16 * run, 16);
        }
    }
}

namespace {

// The red byte is loaded on its own rather than shifted out of the pixel: that moves
// work from the busier arithmetic units to the loads (a tenth faster, measured).
inline void MapPixel(uint8_t* at, const PreparedChannelTables& tables)
{
    uint32_t pixel;
    std::memcpy(&pixel, at, 4);
    const uint32_t mapped =
        (pixel & tables.keptFourth) | tables.blue[pixel & 0xFF] | tables.green[pixel >> 8 & 0xFF] | tables.red[at[2]];
    std::memcpy(at, &mapped, 4);
}

} // namespace

void MapChannelRowPortable(uint8_t* row, int width, const PreparedChannelTables& tables)
{
    uint8_t* at = row;
    uint8_t* const end = row + ptrdiff_t{4} * width;
    for (; end - at >= 16; at += 16) {
        MapPixel(at, tables);
        MapPixel(at + 4, tables);
        MapPixel(at + 8, tables);
        MapPixel(at + 12, tables);
    }
    for (; at < end; at += 4) MapPixel(at, tables);
}

bool MapChannelTables(const PixelRows& image, const ChannelTables& tables, const UnitReport& report)
{
    const CChannelMapper mapper(tables);
    return ForEachRowBand(image.height, report, [&](int first, int last) {
        for (int y = first; y < last; ++y) mapper.MapRow(image.Bytes(y), image.width);
    });
}

bool ApplyChannelTables(HBITMAP bitmap, const uint8_t* red, const uint8_t* green, const uint8_t* blue,
                        IProgress* progress)
{
    if (bitmap == nullptr || red == nullptr || green == nullptr || blue == nullptr) return false;
    const PixelRows image = RowsOfSection(bitmap);
    if (image.bits == nullptr) return false;
    const bool mapped = MapChannelTables(image, {red, green, blue}, ReportTo(progress));
    if (progress != nullptr) progress->Finish(mapped);
    return mapped;
}
