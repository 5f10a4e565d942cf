#pragma once
// The channel-table mapping prepared once per apply: the variant the processor
// runs best, with its tables in the forms the loops read.

#include "filters/shared/channel-tables/ChannelTables.h"

// Whether the mapping runs its AVX2 variant on this processor, chosen once; never
// when portable code is forced (platform/CpuFeatures.h).
bool ChannelMappingChoosesAvx2();

class CChannelMapper {
public:
    // The variant ChannelMappingChoosesAvx2 picks.
    explicit CChannelMapper(const ChannelTables& tables);
    // vector false forces the portable loop, true the AVX2 one (only where it runs).
    CChannelMapper(const ChannelTables& tables, bool vector);

    void MapRow(uint8_t* row, int width) const;

private:
    PreparedChannelTables m_prepared;
    bool m_vector;
};
