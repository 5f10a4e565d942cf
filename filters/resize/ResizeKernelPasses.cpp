#include "filters/resize/ResizeKernelPasses.h"

#include "platform/CpuFeatures.h"

#include <algorithm>

namespace {

// Sums are kept per channel across the taps, in a shape that compilers turn into
// vector code of their own; the arithmetic is that of the rule, tap by tap.
template <size_t kPixelBytes>
void FilterLinePortable(const uint8_t* line, const int16_t* table, int taps, uint32_t numerator, uint32_t denominator,
                        uint8_t* out, uint32_t width)
{
    ResizeStep step(numerator, denominator);
    for (uint32_t k = 0; k < width; ++k, out += kPixelBytes) {
        const int16_t* weights = table + static_cast<size_t>(step.phase) * taps;
        const uint8_t* pixel = line + step.position * kPixelBytes;
        int32_t sums[kPixelBytes] = {};
        for (int t = 0; t < taps; ++t, pixel += kPixelBytes) {
            for (size_t channel = 0; channel < kPixelBytes; ++channel) sums[channel] += weights[t] * pixel[channel];
        }
        for (size_t channel = 0; channel < kPixelBytes; ++channel) out[channel] = RoundedByte(sums[channel]);
        step.Advance();
    }
}

}  // namespace

// A block of the line at a time, one source row after the other, so that each row
// is read in order.
void FilterColumnsPortable(const uint8_t* top, size_t stride, const int16_t* weights, int taps, uint8_t* out,
                           size_t bytes)
{
    constexpr size_t kBlock = 512;
    int32_t sums[kBlock];
    for (size_t start = 0; start < bytes; start += kBlock) {
        const size_t count = std::min(kBlock, bytes - start);
        std::fill_n(sums, count, 0);
        for (int t = 0; t < taps; ++t) {
            const uint8_t* row = top + static_cast<size_t>(t) * stride + start;
            for (size_t b = 0; b < count; ++b) sums[b] += weights[t] * row[b];
        }
        for (size_t b = 0; b < count; ++b) out[start + b] = RoundedByte(sums[b]);
    }
}

ResizePasses PortableResizePasses(int bitsPerPixel)
{
    return {&FilterColumnsPortable, bitsPerPixel == 8 ? &FilterLinePortable<1> : &FilterLinePortable<4>};
}

ResizePasses ChosenResizePasses(int bitsPerPixel)
{
    using Variant = ResizePasses (*)(int);
    static const Variant variant = CpuHasAvx2()   ? &Avx2ResizePasses
                                   : CpuHasSse2() ? &Sse2ResizePasses
                                                  : &PortableResizePasses;
    return variant(bitsPerPixel);
}
