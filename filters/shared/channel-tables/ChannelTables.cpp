#include "filters/shared/channel-tables/ChannelTables.h"

#include "filters/shared/channel-tables/ChannelMapper.h"
#include "platform/CpuFeatures.h"

void MapChannelRowPortable(uint8_t* row, int width, const ChannelTables& tables)
{
    for (int x = 0; x < width; ++x, row += 4) {
        row[0] = tables.blue[row[0]];
        row[1] = tables.green[row[1]];
        row[2] = tables.red[row[2]];
    }
}

bool ApplyChannelTables(HBITMAP bitmap, const uint8_t* red, const uint8_t* green, const uint8_t* blue,
                        IProgress* progress)
{
    if (bitmap == nullptr || red == nullptr || green == nullptr || blue == nullptr) return false;
    BITMAP description{};
    if (GetObjectW(bitmap, sizeof description, &description) == 0 || description.bmBits == nullptr) return false;

    const CChannelMapper mapper({red, green, blue}, CpuHasAvx2());
    auto* row = static_cast<uint8_t*>(description.bmBits);
    for (int r = 0; r < description.bmHeight; ++r, row += description.bmWidthBytes) {
        if (progress != nullptr && !progress->Step(r, description.bmHeight)) {
            progress->Finish(false);
            return false;
        }
        mapper.MapRow(row, description.bmWidth);
    }
    if (progress != nullptr) progress->Finish(true);
    return true;
}
