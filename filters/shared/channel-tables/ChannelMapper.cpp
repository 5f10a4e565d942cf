#include "filters/shared/channel-tables/ChannelMapper.h"

#include "platform/CpuFeatures.h"

bool ChannelMappingChoosesAvx2()
{
    static const bool avx2 = CpuHasAvx2();
    return avx2;
}

CChannelMapper::CChannelMapper(const ChannelTables& tables) : CChannelMapper(tables, ChannelMappingChoosesAvx2()) {}

CChannelMapper::CChannelMapper(const ChannelTables& tables, bool vector) : m_tables(tables), m_vector(vector)
{
    if (!m_vector) return;
    for (int i = 0; i < 256; ++i) {
        m_wide.red[i] = tables.red[i];
        m_wide.green[i] = tables.green[i];
        m_wide.blue[i] = tables.blue[i];
    }
}

void CChannelMapper::MapRow(uint8_t* row, int width) const
{
    if (m_vector) MapChannelRowAvx2(row, width, m_wide, m_tables);
    else MapChannelRowPortable(row, width, m_tables);
}
