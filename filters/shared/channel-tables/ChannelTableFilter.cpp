#include "filters/shared/channel-tables/ChannelTableFilter.h"

#include "filters/shared/channel-tables/ChannelTables.h"

CApplyOutcome CChannelTableFilter::ChangePixels(IUnknown*, IImage* working, IProgress* progress)
{
    if (!ApplyChannelTables(working->GetBitmap(), m_table, m_table, m_table, progress))
        return CApplyOutcome::Failed(kStatusCancelled);
    return CApplyOutcome::Done();
}
