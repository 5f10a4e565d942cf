#include "filters/noise/NoiseAddKernel.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <vector>

namespace {

constexpr int kDrawCount = CNoiseDraws::kLargestNoiseDraw + 1;
// One offset past a full swing of a channel: a larger one changes no clamped result.
constexpr double kLargestOffset = 256.0;
// rand() / kRandScale lies within 0..32767 for any RAND_MAX of the form 2^k - 1.
constexpr int kRandScale = RAND_MAX / kDrawCount + 1;

// Where the channels sit in a pixel read as one little-endian word (bytes blue,
// green, red, fourth).
constexpr int kRedShift = 16;
constexpr int kGreenShift = 8;

using OffsetTable = std::array<int16_t, kDrawCount>;

// The offset depends on the draw and the amount alone: one division per draw value,
// not one per channel.
void FillOffsets(double amount, OffsetTable& offsets)
{
    for (int draw = 0; draw < kDrawCount; ++draw) {
        offsets[static_cast<size_t>(draw)] = static_cast<int16_t>(NoiseOffset(draw, amount));
    }
}

// A draw outside the promised range must not read beyond the table.
uint32_t Moved(uint32_t channel, const OffsetTable& offsets, int draw)
{
    const int offset = offsets[static_cast<size_t>(std::clamp(draw, 0, kDrawCount - 1))];
    return static_cast<uint32_t>(std::clamp(static_cast<int>(channel) - offset, 0, 255));
}

} // namespace

CProcessRandomDraws::CProcessRandomDraws(unsigned seed)
{
    std::srand(seed);
}

void CProcessRandomDraws::Fill(int* draws, size_t count)
{
    for (size_t i = 0; i < count; ++i) draws[i] = std::rand() / kRandScale;
}

int NoiseOffset(int draw, double amount)
{
    const double offset = (static_cast<double>(draw) / CNoiseDraws::kLargestNoiseDraw - 0.5) * -255.0 * amount;
    if (std::isnan(offset)) return 0;
    return static_cast<int>(std::clamp(offset, -kLargestOffset, kLargestOffset));
}

bool AddNoise(const PixelRows& image, double amount, CNoiseDraws& draws, const UnitReport& report)
{
    OffsetTable offsets;
    FillOffsets(amount, offsets);
    std::vector<int> rowDraws(size_t{3} * static_cast<size_t>(image.width));
    for (int y = 0; y < image.height; ++y) {
        draws.Fill(rowDraws.data(), rowDraws.size());
        uint32_t* pixel = image.Row(y);
        const int* draw = rowDraws.data();
        // Whole pixels in and out: the fourth byte becomes 0 with the same store.
        for (int x = 0; x < image.width; ++x, ++pixel, draw += 3) {
            const uint32_t old = *pixel;
            *pixel = Moved(old >> kRedShift & 0xFF, offsets, draw[0]) << kRedShift |
                     Moved(old >> kGreenShift & 0xFF, offsets, draw[1]) << kGreenShift |
                     Moved(old & 0xFF, offsets, draw[2]);
        }
        if (report && !report(y + 1, image.height)) return false;
    }
    return true;
}
