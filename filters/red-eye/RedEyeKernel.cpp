#include "filters/red-eye/RedEyeKernel.h"

#include <algorithm>
#include <utility>

RedEyeSpan SpanOfRegion(const RECT& region, int height)
{
    RedEyeSpan span{region.left, region.right, height - 1 - region.bottom, height - 1 - region.top};
    if (span.x0 > span.x1) std::swap(span.x0, span.x1);
    if (span.y0 > span.y1) std::swap(span.y0, span.y1);
    return span;
}

RedEyeSpan ClippedToPicture(const RedEyeSpan& span, int width, int height)
{
    return {std::clamp(span.x0, 0, width), std::clamp(span.x1, 0, width), std::clamp(span.y0, 0, height),
            std::clamp(span.y1, 0, height)};
}

RedEyeChannels ChannelsOf(uint32_t color)
{
    return {(color >> 16) & 0xFFu, (color >> 8) & 0xFFu, color & 0xFFu};
}

double RedEyeLimit(uint32_t sumRed, uint32_t sumGreen, uint32_t sumBlue)
{
    const uint32_t others = sumGreen + sumBlue;
    const double meanRedness = static_cast<double>(sumRed) / static_cast<double>(others);
    return meanRedness * 1.2;
}

bool IsRedderThan(const RedEyeChannels& pixel, double limit)
{
    const double redness = static_cast<double>(pixel.red) / static_cast<double>(pixel.green + pixel.blue);
    return redness > limit;
}
