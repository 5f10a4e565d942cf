#include "filters/shared/channel-tables/ChannelMapper.h"

#include "platform/CpuFeatures.h"

bool ChannelMappingChoosesAvx2()
{
    static const bool avx2 = CpuHasAvx2();
    return avx2;
}

CChannelMapper::CChannelMapper(const ChannelTables& tables) : CChannelMapper(tables, ChannelMappingChoosesAvx2()) {}

CChannelMapper::CChannelMapper(const ChannelTables& tables, bool vector) : m_prepared(tables), m_vector(vector) {}

void CChannelMapper::MapRow(uint8_t* row, int width) const
{
    if (m_vector) MapChannelRowAvx2(row, width, m_prepared);
    else MapChannelRowPortable(row, width, m_prepared);
}
