#include "filters/shared/histograms/ChannelHistograms.h"

#include "filters/shared/pixels/KernelBridge.h"

#include <algorithm>
#include <array>
#include <functional>

bool CountChannelLevels(const PixelRows& image, uint32_t counts[kHistogramCountsSize], const UnitReport& report)
{
    std::fill(counts, counts + kHistogramCountsSize, 0u);
    uint32_t* red = counts + kRedCounts * kHistogramLevels;
    uint32_t* green = counts + kGreenCounts * kHistogramLevels;
    uint32_t* blue = counts + kBlueCounts * kHistogramLevels;
    uint32_t* luminance = counts + kLuminanceCounts * kHistogramLevels;
    for (int y = 0; y < image.height; ++y) {
        if (report && !report(y, image.height)) return false;
        const uint8_t* pixel = image.Bytes(y);
        for (int x = 0; x < image.width; ++x, pixel += 4) {
            ++blue[pixel[0]];
            ++green[pixel[1]];
            ++red[pixel[2]];
            ++luminance[LuminanceOf(pixel[2], pixel[1], pixel[0])];
        }
    }
    return true;
}

bool ComputeChannelHistograms(HBITMAP bitmap, uint32_t* counts, IProgress* progress)
{
    if (bitmap == nullptr || counts == nullptr) return false;
    const PixelRows image = RowsOfSection(bitmap);
    if (image.bits == nullptr) return false;
    const bool counted = CountChannelLevels(image, counts, ReportTo(progress));
    if (progress != nullptr) progress->Finish(counted);
    return counted;
}

uint32_t ThirdLargestCount(const uint32_t* levels)
{
    std::array<uint32_t, kHistogramLevels> sorted{};
    std::copy(levels, levels + kHistogramLevels, sorted.begin());
    std::nth_element(sorted.begin(), sorted.begin() + 2, sorted.end(), std::greater<>());
    return sorted[2];
}
