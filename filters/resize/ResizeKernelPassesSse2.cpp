// The resampler's passes with 128-bit integer vectors: the shared bodies at this
// width, and the 8-bit horizontal pass, which only SSE2 has.

#include "filters/resize/ResizeKernelPassesVector.h"

namespace {

int32_t HorizontalSum(__m128i sums)
{
    sums = _mm_add_epi32(sums, _mm_srli_si128(sums, 8));
    sums = _mm_add_epi32(sums, _mm_srli_si128(sums, 4));
    return _mm_cvtsi128_si32(sums);
}

// Single channels gain only where a pixel has many taps: eight at a time, the rest
// one by one.
void FilterLine8Sse2(const uint8_t* line, const int16_t* table, int taps, uint32_t numerator, uint32_t denominator,
                     uint8_t* out, uint32_t width)
{
    ResizeStep step(numerator, denominator);
    const __m128i zero = _mm_setzero_si128();
    for (uint32_t k = 0; k < width; ++k) {
        const int16_t* weights = table + static_cast<size_t>(step.phase) * taps;
        const uint8_t* first = line + step.position;
        __m128i sums = _mm_setzero_si128();
        int t = 0;
        for (; t + 8 <= taps; t += 8) {
            const __m128i bytes = _mm_unpacklo_epi8(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(first + t)), zero);
            sums = _mm_add_epi32(sums,
                                 _mm_madd_epi16(bytes, _mm_loadu_si128(reinterpret_cast<const __m128i*>(weights + t))));
        }
        int32_t sum = HorizontalSum(sums);
        for (; t < taps; ++t) sum += weights[t] * first[t];
        out[k] = RoundedByte(sum);
        step.Advance();
    }
}

void FilterLine32Sse2(const uint8_t* line, const int16_t* table, int taps, uint32_t numerator, uint32_t denominator,
                      uint8_t* out, uint32_t width)
{
    FilterLine32Vector<Vectors128>(line, table, taps, numerator, denominator, out, width);
}

}  // namespace

void FilterColumnsSse2(const uint8_t* top, size_t stride, const int16_t* weights, int taps, uint8_t* out, size_t bytes)
{
    FilterColumnsVector<Vectors128>(top, stride, weights, taps, out, bytes, &FilterColumnsPortable);
}

ResizePasses Sse2ResizePasses(int bitsPerPixel)
{
    return {&FilterColumnsSse2, bitsPerPixel == 8 ? &FilterLine8Sse2 : &FilterLine32Sse2};
}
