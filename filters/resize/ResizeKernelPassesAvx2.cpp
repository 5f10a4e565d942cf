// The resampler's passes with 256-bit vectors: the shared bodies at this width. The
// vertical pass takes thirty-two bytes of a line at a time and leaves the rest to
// SSE2; the horizontal pass two destination pixels at a time, one in each half. The
// 8-bit horizontal pass stays SSE2's: a pixel's taps rarely fill even the eight
// words an SSE2 vector holds.

#include "filters/resize/ResizeKernelPassesVector.h"

namespace {

void FilterColumnsAvx2(const uint8_t* top, size_t stride, const int16_t* weights, int taps, uint8_t* out, size_t bytes)
{
    FilterColumnsVector<Vectors256>(top, stride, weights, taps, out, bytes, &FilterColumnsSse2);
}

void FilterLine32Avx2(const uint8_t* line, const int16_t* table, int taps, uint32_t numerator, uint32_t denominator,
                      uint8_t* out, uint32_t width)
{
    FilterLine32Vector<Vectors256>(line, table, taps, numerator, denominator, out, width);
}

}  // namespace

ResizePasses Avx2ResizePasses(int bitsPerPixel)
{
    return {&FilterColumnsAvx2, bitsPerPixel == 8 ? Sse2ResizePasses(8).horizontal : &FilterLine32Avx2};
}
