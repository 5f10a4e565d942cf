#include "filters/autofix/AutofixColorFix.h"

#include "filters/autofix/AutofixPhases.h"
#include "filters/shared/channel-tables/ChannelTables.h"
#include "filters/shared/channel-tables/GainTable.h"
#include "filters/shared/color-cast/ColorCast.h"
#include "resources/StringIds.h"


bool FixColorCast(IImage* working, IProgress* progress)
{
    CComPtr<IProgress> passes;
    if (!OpenTwoPasses(progress, IDS_PROGRESS_FIXING_COLORS, passes)) return EndFix(progress, false);
    ColorCastFactors gains;
    if (!DetectColorCast(working, passes.Get(), &gains.red, &gains.green, &gains.blue)) return EndFix(progress, false);
    if (gains.red == 1.0 && gains.green == 1.0 && gains.blue == 1.0) return EndFix(progress, true);
    const GainTables tables = BuildGainTables(gains.red, gains.green, gains.blue);
    ShowFixText(passes.Get(), IDS_PROGRESS_APPLYING_COLOR_FIXES);
    return EndFix(progress,
                  ApplyChannelTables(working->GetBitmap(), tables.red, tables.green, tables.blue, passes.Get()));
}
