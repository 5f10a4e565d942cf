#include "filters/sharpen/SharpenKernelMerge.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

// Far beyond any amount that changes a result, and small enough that d * a fits an
// int; only texts typed by hand come near it.
constexpr double kLargestScaledAmount = 1 << 20;

int Amount32(double amount)
{
    const double scaled = std::isnan(amount) ? 0.0 : amount * 32;
    return static_cast<int>(std::clamp(scaled, -kLargestScaledAmount, kLargestScaledAmount));
}

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

void MergeRow(const uint8_t* original, uint8_t* blurred, int width, const MergeTable& table, int bytesPerPixel)
{
    for (int x = 0; x < width; ++x, original += 4, blurred += 4) {
        for (int channel = 0; channel < bytesPerPixel; ++channel) {
            blurred[channel] = table[static_cast<size_t>(original[channel]) * 256 + blurred[channel]];
        }
    }
}

} // namespace

MergeTable BuildMergeTable(double amount, int threshold, BlurPath path)
{
    MergeTable table{};
    const int amount32 = Amount32(amount);
    for (int original = 0; original < 256; ++original) {
        for (int blurred = 0; blurred < 256; ++blurred) {
            table[static_cast<size_t>(original * 256 + blurred)] =
                path == BlurPath::FixedPoint ? MergedFixedPoint(original, blurred, amount32, threshold)
                                             : MergedPortable(original, blurred, amount, threshold);
        }
    }
    return table;
}

bool MergeUnsharp(const PixelRows& original, const PixelRows& blurred, double amount, int threshold, BlurPath path,
                  const UnitReport& report)
{
    if (path == BlurPath::Portable && threshold < 0) return false;
    const MergeTable table = BuildMergeTable(amount, threshold, path);
    const int bytesPerPixel = path == BlurPath::FixedPoint ? 4 : 3;
    for (int y = 0; y < original.height; ++y) {
        MergeRow(original.Bytes(y), blurred.Bytes(y), original.width, table, bytesPerPixel);
        if (report && !report(y + 1, original.height)) return false;
    }
    return true;
}
