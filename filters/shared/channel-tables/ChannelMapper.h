#pragma once
// The channel-table mapping prepared once per apply: the variant the processor
// runs best, with its tables in the form that variant reads.

#include "filters/shared/channel-tables/ChannelTables.h"

class CChannelMapper {
public:
    // vector false forces the portable loop.
    CChannelMapper(const ChannelTables& tables, bool vector);

    void MapRow(uint8_t* row, int width) const;

private:
    ChannelTables m_tables;
    bool m_vector;
    WideChannelTables m_wide;
};
