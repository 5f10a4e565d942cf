#include "filters/shared/straightening/StraighteningAngle.h"

#include "filters/shared/pixels/KernelBridge.h"
#include "filters/shared/straightening/AngleEstimates.h"
#include "filters/shared/straightening/BrightnessReduction.h"
#include "filters/shared/straightening/EdgeChains.h"
#include "filters/shared/straightening/EdgeMap.h"
#include "filters/shared/straightening/RecursiveGaussian.h"

#include <optional>

namespace {

// The recursive filters need more than 8 samples on each axis. The scale itself
// never falls below the smallest one allowed (1e-7), as no side reaches 6.4e9.
bool Analysable(const WorkingSize& size)
{
    return size.width > 8 && size.height > 8;
}

// The estimates count 5 units each, announced as 98 in all.
int TotalUnits(int height, const WorkingSize& size)
{
    return height + 2 * size.width + 6 * size.height + 98;
}

bool EstimateAll(const std::vector<EdgeChain>& chains, std::array<double, kEstimateCount>& estimates,
                 StageProgress& progress)
{
    for (int i = 0; i < kEstimateCount; ++i) {
        if (!progress.Next(kMinimumLengthStep)) return false;
        estimates[static_cast<size_t>(i)] = EstimateAngle(chains, kMinimumLengthStep * (i + 1));
    }
    return true;
}

// The detection; nothing when it fails or is stopped.
std::optional<float> Detect(const PixelRows& rows, const UnitReport& report, int edgePadding, int threshold)
{
    if (rows.bits == nullptr || rows.width < 1 || rows.height < 1) return std::nullopt;
    const WorkingSize size = WorkingSizeOf(rows.width, rows.height);
    if (!Analysable(size)) return std::nullopt;
    StageProgress progress(report, TotalUnits(rows.height, size));
    WorkingPlane<uint8_t> plane;
    GradientPlanes gradient;
    WorkingPlane<uint8_t> edges;
    std::vector<EdgeChain> chains;
    std::array<double, kEstimateCount> estimates{};
    const bool measured = ReduceBrightness(rows, size, plane, progress) &&
                          ComputeGradient(plane, edgePadding, gradient, progress) &&
                          SuppressNonMaxima(gradient, edges, progress) && BinariseEdges(edges, threshold, progress) &&
                          CollectChains(edges, chains, progress) && EstimateAll(chains, estimates, progress);
    if (!measured) return std::nullopt;
    return static_cast<float>(ConsensusAngle(estimates));
}

} // namespace

float DetectStraighteningAngle(const PixelRows& rows, const UnitReport& report, int edgePadding, int threshold)
{
    return Detect(rows, report, edgePadding, threshold).value_or(0.0f);
}

float DetectStraighteningAngle(HBITMAP section, IProgress* progress, int edgePadding, int threshold)
{
    const std::optional<float> angle = Detect(RowsOfSection(section), ReportTo(progress), edgePadding, threshold);
    if (progress != nullptr) progress->Finish(angle.has_value());
    return angle.value_or(0.0f);
}
