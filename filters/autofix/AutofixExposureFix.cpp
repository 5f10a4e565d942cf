#include "filters/autofix/AutofixExposureFix.h"

#include "filters/autofix/AutofixPhases.h"
#include "filters/exposure/ExposureKernel.h"
#include "filters/shared/channel-tables/ChannelTables.h"
#include "filters/shared/histograms/ChannelHistograms.h"
#include "resources/StringIds.h"

namespace {

// The third-highest count, not the highest: one or two clipped peaks (pure black,
// pure white) would otherwise lift the bar over every other level.
constexpr uint32_t kThresholdDivisor = 100;
constexpr int kLastLeftCandidate = 253;

} // namespace

ExposureFixLimits FindExposureFixLimits(const uint32_t* luminance)
{
    const uint32_t threshold = ThirdLargestCount(luminance) / kThresholdDivisor;
    int left = kLastLeftCandidate + 1;
    for (int level = 0; level <= kLastLeftCandidate; ++level) {
        if (luminance[level] >= threshold) {
            left = level;
            break;
        }
    }
    int right = kHistogramLevels - 1;
    while (right > left + 1 && luminance[right] < threshold) --right;
    return {left, right};
}

void BuildExposureFixTable(const uint32_t* luminance, uint8_t table[256])
{
    const ExposureFixLimits limits = FindExposureFixLimits(luminance);
    BuildLineTable(SlopeOfLimits(limits.left, limits.right), OffsetOfLimits(limits.left, limits.right), table);
}

bool FixExposure(IImage* working, IProgress* progress)
{
    CComPtr<IProgress> passes;
    if (!OpenTwoPasses(progress, IDS_PROGRESS_FIXING_EXPOSURE, passes)) return EndFix(progress, false);
    uint32_t counts[kHistogramCountsSize];
    if (!ComputeChannelHistograms(working->GetBitmap(), counts, passes.Get())) return EndFix(progress, false);
    uint8_t table[256];
    BuildExposureFixTable(counts + kLuminanceCounts * kHistogramLevels, table);
    ShowFixText(passes.Get(), IDS_PROGRESS_APPLYING_CURVE);
    return EndFix(progress, ApplyChannelTables(working->GetBitmap(), table, table, table, passes.Get()));
}
