#pragma once
// The inner loops of the plane resampler, free of interfaces and buffers so that
// each can be checked and measured alone. A vertical filter turns a few source rows
// into one line; a horizontal filter turns a padded line into one destination row.
// Both sum 16-bit weights times bytes in 32 bits and round once:
// clamp((sum + 64) >> 7, 0, 255).
//
// The portable loops define the results; the Sse2 and Avx2 variants give the same
// bytes and may only run where the processor offers them (platform/CpuFeatures.h).

#include <cstddef>
#include <cstdint>

// out[b] for b < bytes from taps rows that start at top and lie stride bytes apart,
// each row weighted by weights[t]. Every byte alike, the fourth byte of a pixel too.
using VerticalFilter = void (*)(const uint8_t* top, size_t stride, const int16_t* weights, int taps, uint8_t* out,
                                size_t bytes);

// Writes width pixels. Destination pixel k reads taps pixels of line from pixel
// floor(k N / D) on, weighted by the table row of phase (k N) mod D, where the table
// holds taps weights per phase. The caller pads line so that every read is inside.
using HorizontalFilter = void (*)(const uint8_t* line, const int16_t* table, int taps, uint32_t numerator,
                                  uint32_t denominator, uint8_t* out, uint32_t width);

// The same passes on narrow weights (filters/resize/ResizeKernelWeights.h), whose
// sums fit 16 bits. The horizontal one takes its pixels' offsets and weights from a
// plan (filters/resize/ResizeKernelColumns.h) and reads the line up to three pixels
// beyond a pixel's last tap; those pixels weigh 0.
template <typename Weight>
class CColumnPlan;
using CNarrowColumns = CColumnPlan<int8_t>;
using CWideColumns = CColumnPlan<int16_t>;
using NarrowVerticalFilter = void (*)(const uint8_t* top, size_t stride, const int8_t* weights, int taps,
                                      uint8_t* out, size_t bytes);
using NarrowHorizontalFilter = void (*)(const uint8_t* line, const CNarrowColumns& columns, uint8_t* out,
                                        uint32_t width);

// The line pixels a narrow horizontal pass may read beyond the last tap.
constexpr int kNarrowLineSlack = 3;

// The horizontal pass of tables of two taps (every enlargement with the triangle),
// taking each pixel's offset and weight pair from a plan.
using TwoTapHorizontalFilter = void (*)(const uint8_t* line, const CWideColumns& columns, uint8_t* out,
                                        uint32_t width);

// The narrow and two-tap passes are null where a variant has none.
struct ResizePasses {
    VerticalFilter vertical;
    HorizontalFilter horizontal;
    NarrowVerticalFilter narrowVertical = nullptr;
    NarrowHorizontalFilter narrowHorizontal = nullptr;
    TwoTapHorizontalFilter twoTapHorizontal = nullptr;
};

// The passes for pixels of 8 or 32 bits.
ResizePasses PortableResizePasses(int bitsPerPixel);
ResizePasses Sse2ResizePasses(int bitsPerPixel);
ResizePasses Avx2ResizePasses(int bitsPerPixel);

// The passes for this processor, its widest variant chosen once; portable when
// portable code is forced (platform/CpuFeatures.h).
ResizePasses ChosenResizePasses(int bitsPerPixel);

// Internal linkage on purpose: the vector files are compiled for other instruction
// sets, and one shared inline copy could carry their instructions into the portable
// path on a processor without them.
namespace {

// The position of destination pixel k in the source, k N / D, kept as a whole part
// and a phase, advanced without a division per pixel.
struct ResizeStep {
    ResizeStep(uint32_t numerator, uint32_t denominator)
        : whole(numerator / denominator),
          remainder(numerator % denominator),
          denominator(denominator)
    {
    }

    void Advance()
    {
        position += whole;
        phase += remainder;
        if (phase >= denominator) {
            phase -= denominator;
            ++position;
        }
    }

    uint32_t whole;
    uint32_t remainder;
    uint32_t denominator;
    size_t position = 0;
    uint32_t phase = 0;
};

inline uint8_t RoundedByte(int32_t sum)
{
    const int32_t value = (sum + 64) >> 7;
    return static_cast<uint8_t>(value < 0 ? 0 : value > 255 ? 255 : value);
}

}  // namespace

// The portable vertical loop; the vector variants finish their rows with it.
void FilterColumnsPortable(const uint8_t* top, size_t stride, const int16_t* weights, int taps, uint8_t* out,
                           size_t bytes);
void FilterColumnsSse2(const uint8_t* top, size_t stride, const int16_t* weights, int taps, uint8_t* out, size_t bytes);
