#include "filters/shared/noise/NoiseEngine.h"

#include "filters/shared/noise/NoiseEstimator.h"
#include "filters/shared/noise/NoiseReduction.h"
#include "filters/shared/pixels/KernelBridge.h"

#include <algorithm>

namespace {

// A region is measured in the smallest blocks, by the luma, and may be any size.
constexpr int kRegionBlockSize = 10;
constexpr int kRegionBlockValueMode = 1;

// A stage's report mapped onto the engine's one count: the stage's progress out of its
// own total becomes units counts, following the before counts already done.
UnitReport StageOf(const UnitReport& report, int before, int units, int total)
{
    if (!report) return {};
    return [report, before, units, total](int done, int stageTotal) {
        const int64_t scaled = stageTotal > 0 ? int64_t{done} * units / stageTotal : units;
        return report(before + static_cast<int>(scaled), total);
    };
}

// Only 1 asks for the luma transform, only 0 for the count less one.
bool LumaChannels(const NoiseReductionOptions& reduction) { return reduction.channelSwitch == 1; }
bool DivideByCount(const NoiseReductionOptions& reduction) { return reduction.divisorSwitch != 0; }

EstimatorInputs EstimatorOf(const NoiseEstimationOptions& estimation, const NoiseReductionOptions& reduction)
{
    EstimatorInputs inputs;
    inputs.blockSize = estimation.blockSize;
    inputs.blockValueMode = estimation.blockValueMode;
    inputs.lumaChannels = LumaChannels(reduction);
    inputs.divideByCount = DivideByCount(reduction);
    return inputs;
}

bool Reduce(const PixelRows& image, const UnitReport& report, const NoiseReductionOptions& reduction,
            const NoiseLevels& levels, const NoiseLevels& estimates)
{
    ReductionInputs inputs;
    inputs.radius = std::clamp(reduction.smoothness, kSmallestReductionRadius, kLargestReductionRadius);
    inputs.lumaChannels = LumaChannels(reduction);
    inputs.divideByCount = DivideByCount(reduction);
    inputs.deciding = levels;
    inputs.others = estimates;
    return ReduceNoiseOfRows(image, inputs, StageOf(report, image.height, 2 * image.height, 3 * image.height));
}

bool HasPixels(const PixelRows& image)
{
    return image.bits != nullptr && image.width > 0 && image.height > 0;
}

// The part of the picture a region covers: picture rows count from the top, the
// section's from the bottom. Empty (no bits) when nothing of it lies inside.
PixelRows RowsOfRegion(const PixelRows& image, const RECT& region)
{
    const int left = std::max(region.left, 0);
    const int right = std::min(region.right, image.width);
    const int top = std::max(region.top, 0);
    const int bottom = std::min(region.bottom, image.height);
    if (left >= right || top >= bottom) return {};
    const int lowestRow = image.height - bottom;
    return {image.Bytes(lowestRow) + ptrdiff_t{4} * left, image.stride, right - left, bottom - top};
}

PixelRows RowsOf32BitSection(HBITMAP bitmap)
{
    BITMAP description{};
    if (GetObjectW(bitmap, sizeof description, &description) == 0 || description.bmBitsPixel != 32) return {};
    return RowsOfSection(bitmap);
}

void WriteLevels(const NoiseLevels& levels, double* red, double* green, double* blue)
{
    *red = levels.first;
    *green = levels.second;
    *blue = levels.third;
}

} // namespace

bool ReduceNoiseOfWhole(const PixelRows& image, const UnitReport& report, bool estimate, NoiseLevels& levels,
                        const NoiseReductionOptions& reduction, const NoiseEstimationOptions& estimation)
{
    if (!HasPixels(image)) return false;
    NoiseLevels estimates;
    const UnitReport stage = StageOf(report, 0, image.height, 3 * image.height);
    if (!EstimateNoiseLevels(image, EstimatorOf(estimation, reduction), stage, estimates)) return false;
    if (estimate) levels = estimates;
    return Reduce(image, report, reduction, levels, estimates);
}

bool ReduceNoiseFromRegion(const PixelRows& image, const UnitReport& report, const RECT& region, NoiseLevels& levels,
                           const NoiseReductionOptions& reduction)
{
    if (!HasPixels(image)) return false;
    NoiseLevels estimates;
    const UnitReport stage = StageOf(report, 0, image.height, 3 * image.height);
    const PixelRows part = RowsOfRegion(image, region);
    if (HasPixels(part)) {
        EstimatorInputs inputs = EstimatorOf({kRegionBlockSize, kRegionBlockValueMode}, reduction);
        inputs.minimumSide = 0;
        if (!EstimateNoiseLevels(part, inputs, stage, estimates)) return false;
    } else if (stage && !stage(1, 1)) {
        return false;
    }
    levels = estimates;
    return Reduce(image, report, reduction, levels, estimates);
}

bool ReduceNoise(HBITMAP bitmap, IProgress* progress, bool estimate, double* red, double* green, double* blue,
                 int smoothness, int blockSize, int channelSwitch, int blockValueMode, int divisorSwitch)
{
    if (red == nullptr || green == nullptr || blue == nullptr) return false;
    NoiseLevels levels{*red, *green, *blue};
    const bool reduced = ReduceNoiseOfWhole(RowsOf32BitSection(bitmap), ReportTo(progress), estimate, levels,
                                            {smoothness, channelSwitch, divisorSwitch}, {blockSize, blockValueMode});
    WriteLevels(levels, red, green, blue);
    return reduced;
}

bool ReduceNoiseInRegion(HBITMAP bitmap, IProgress* progress, const RECT& region, double* red, double* green,
                         double* blue, int smoothness, int channelSwitch, int divisorSwitch)
{
    if (red == nullptr || green == nullptr || blue == nullptr) return false;
    NoiseLevels levels{*red, *green, *blue};
    const bool reduced = ReduceNoiseFromRegion(RowsOf32BitSection(bitmap), ReportTo(progress), region, levels,
                                               {smoothness, channelSwitch, divisorSwitch});
    WriteLevels(levels, red, green, blue);
    return reduced;
}
