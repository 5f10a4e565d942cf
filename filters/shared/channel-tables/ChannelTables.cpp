#include "filters/shared/channel-tables/ChannelTables.h"

#include "filters/shared/channel-tables/ChannelMapper.h"
#include "filters/shared/pixels/KernelBridge.h"

void MapChannelRowPortable(uint8_t* row, int width, const ChannelTables& tables)
{
    for (int x = 0; x < width; ++x, row += 4) {
        row[0] = tables.blue[row[0]];
        row[1] = tables.green[row[1]];
        row[2] = tables.red[row[2]];
    }
}

bool MapChannelTables(const PixelRows& image, const ChannelTables& tables, const UnitReport& report)
{
    const CChannelMapper mapper(tables);
    for (int y = 0; y < image.height; ++y) {
        if (report && !report(y, image.height)) return false;
        mapper.MapRow(image.Bytes(y), image.width);
    }
    return true;
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
