#include "filters/sharpen/SharpenKernelMerge.h"

#include "platform/CpuFeatures.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <memory>

namespace {

// Far beyond any amount that changes a result, and small enough that d * a fits an
// int; only texts typed by hand come near it.
constexpr double kLargestScaledAmount = 1 << 20;

uint8_t MergedFixedPoint(int original, int blurred, int amount32, int threshold)
{
    int difference = original - blurred;
    if (!(2 * std::abs(difference) > threshold)) difference = 0;
    // C++ shifts negative numbers arithmetically: this is the floor of d * a / 32.
    return static_cast<uint8_t>(std::clamp(original + ((difference * amount32) >> 5), 0, 255));
}

uint8_t MergedPortable(int original, int blurred, double amount, int threshold)
{
    int difference = original - blurred;
    if (!(2 * std::abs(difference) >= threshold)) difference = 0;
    const double merged = original + std::trunc(difference * amount);
    return std::isnan(merged) ? static_cast<uint8_t>(original) : static_cast<uint8_t>(std::clamp(merged, 0.0, 255.0));
}

FixedPointMergeRow VectorMergeRow()
{
    static const FixedPointMergeRow row = CpuHasAvx2()   ? &MergeRowFixedPointAvx2
                                          : CpuHasSse2() ? &MergeRowFixedPointSse2
                                                         : nullptr;
    return row;
}

// The vector rows multiply a by the difference in 16-bit lanes.
bool FitsSixteenBits(int amount32)
{
    return amount32 >= std::numeric_limits<int16_t>::min() && amount32 <= std::numeric_limits<int16_t>::max();
}

BlurredRowMerge FixedPointMerge(double amount, int threshold)
{
    const int amount32 = FixedPointAmount(amount);
    const FixedPointMergeRow vector = VectorMergeRow();
    const FixedPointMergeRow row = vector != nullptr && FitsSixteenBits(amount32) ? vector : &MergeRowFixedPointScalar;
    return [row, amount32, threshold](const uint8_t* original, const uint8_t* blurred, uint8_t* out, int width) {
        row(original, blurred, out, width, amount32, threshold);
    };
}

// Doubles per byte cost more than a look-up, so the portable path reads the table.
BlurredRowMerge PortableMerge(double amount, int threshold)
{
    const auto table = std::make_shared<const MergeTable>(BuildMergeTable(amount, threshold, BlurPath::Portable));
    return [table](const uint8_t* original, const uint8_t* blurred, uint8_t* out, int width) {
        for (int x = 0; x < width; ++x, original += 4, blurred += 4, out += 4) {
            for (int channel = 0; channel < 3; ++channel) {
                out[channel] = (*table)[static_cast<size_t>(original[channel]) * 256 + blurred[channel]];
            }
            out[3] = blurred[3];
        }
    };
}

} // namespace

int FixedPointAmount(double amount)
{
    const double scaled = std::isnan(amount) ? 0.0 : amount * 32;
    return static_cast<int>(std::clamp(scaled, -kLargestScaledAmount, kLargestScaledAmount));
}

MergeTable BuildMergeTable(double amount, int threshold, BlurPath path)
{
    MergeTable table{};
    const int amount32 = FixedPointAmount(amount);
    for (int original = 0; original < 256; ++original) {
        for (int blurred = 0; blurred < 256; ++blurred) {
            table[static_cast<size_t>(original * 256 + blurred)] =
                path == BlurPath::FixedPoint ? MergedFixedPoint(original, blurred, amount32, threshold)
                                             : MergedPortable(original, blurred, amount, threshold);
        }
    }
    return table;
}

bool UnsharpMergeAccepts(int threshold, BlurPath path)
{
    return path == BlurPath::FixedPoint || threshold >= 0;
}

BlurredRowMerge UnsharpRowMerge(double amount, int threshold, BlurPath path)
{
    return path == BlurPath::FixedPoint ? FixedPointMerge(amount, threshold) : PortableMerge(amount, threshold);
}

void MergeRowFixedPointScalar(const uint8_t* original, const uint8_t* blurred, uint8_t* out, int width, int amount32,
                              int threshold)
{
    for (ptrdiff_t i = 0; i < ptrdiff_t{4} * width; ++i) {
        out[i] = MergedFixedPoint(original[i], blurred[i], amount32, threshold);
    }
}
