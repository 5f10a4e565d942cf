// The resampler's passes with 256-bit vectors: the shared bodies at this width. The
// vertical pass takes thirty-two bytes of a line at a time and leaves the rest to
// SSE2; the horizontal pass two destination pixels at a time, one in each half, or
// four with two taps each. The 8-bit horizontal pass stays SSE2's: a pixel's taps
// rarely fill even the eight words an SSE2 vector holds.

#include "filters/resize/ResizeKernelPassesVector.h"

#include <cstring>

namespace {

// Two taps a pixel, as every enlargement with the triangle has: four destination
// pixels a step, two in each half, where the general loop fills each half with one.
// Each pixel's 8 bytes of line are its two taps; one byte shuffle pairs their
// channels, and a multiply-add per pixel pair sums them as the portable loop does.
// A last group of fewer than four repeats its last pixel and stores what it owns.
void FilterLine32TwoTapsAvx2(const uint8_t* line, const int16_t* table, uint32_t numerator, uint32_t denominator,
                             uint8_t* out, uint32_t width)
{
    const __m256i pairChannels =
        _mm256_setr_epi8(0, 4, 1, 5, 2, 6, 3, 7, 8, 12, 9, 13, 10, 14, 11, 15, 0, 4, 1, 5, 2, 6, 3, 7, 8, 12, 9, 13,
                         10, 14, 11, 15);
    const __m256i rounding = _mm256_set1_epi32(64);
    const __m256i zero = _mm256_setzero_si256();
    ResizeStep step(numerator, denominator);
    for (uint32_t k = 0; k < width; k += 4) {
        const int count = static_cast<int>(std::min<uint32_t>(4, width - k));
        long long taps[4];
        int weights[4];
        for (int p = 0; p < 4; ++p) {
            if (p < count) {
                std::memcpy(&taps[p], line + step.position * 4, sizeof taps[p]);
                std::memcpy(&weights[p], table + static_cast<size_t>(step.phase) * 2, sizeof weights[p]);
                step.Advance();
            } else {
                taps[p] = taps[p - 1];
                weights[p] = weights[p - 1];
            }
        }
        // Half 0 holds pixels 0 and 1, half 1 pixels 2 and 3.
        const __m256i paired = _mm256_shuffle_epi8(_mm256_set_epi64x(taps[3], taps[2], taps[1], taps[0]), pairChannels);
        const __m256i even = _mm256_madd_epi16(_mm256_unpacklo_epi8(paired, zero),
                                               _mm256_setr_epi32(weights[0], weights[0], weights[0], weights[0],
                                                                 weights[2], weights[2], weights[2], weights[2]));
        const __m256i odd = _mm256_madd_epi16(_mm256_unpackhi_epi8(paired, zero),
                                              _mm256_setr_epi32(weights[1], weights[1], weights[1], weights[1],
                                                                weights[3], weights[3], weights[3], weights[3]));
        const __m256i words = _mm256_packs_epi32(_mm256_srai_epi32(_mm256_add_epi32(even, rounding), 7),
                                                 _mm256_srai_epi32(_mm256_add_epi32(odd, rounding), 7));
        const __m256i bytes = _mm256_permute4x64_epi64(_mm256_packus_epi16(words, words), 0x08);
        uint8_t* at = out + static_cast<size_t>(k) * 4;
        if (count == 4) {
            _mm_storeu_si128(reinterpret_cast<__m128i*>(at), _mm256_castsi256_si128(bytes));
        } else {
            alignas(16) uint8_t group[16];
            _mm_store_si128(reinterpret_cast<__m128i*>(group), _mm256_castsi256_si128(bytes));
            std::memcpy(at, group, static_cast<size_t>(count) * 4);
        }
    }
}

void FilterColumnsAvx2(const uint8_t* top, size_t stride, const int16_t* weights, int taps, uint8_t* out, size_t bytes)
{
    FilterColumnsVector<Vectors256>(top, stride, weights, taps, out, bytes, &FilterColumnsSse2);
}

void FilterLine32Avx2(const uint8_t* line, const int16_t* table, int taps, uint32_t numerator, uint32_t denominator,
                      uint8_t* out, uint32_t width)
{
    if (taps == 2) FilterLine32TwoTapsAvx2(line, table, numerator, denominator, out, width);
    else FilterLine32Vector<Vectors256>(line, table, taps, numerator, denominator, out, width);
}

}  // namespace

ResizePasses Avx2ResizePasses(int bitsPerPixel)
{
    return {&FilterColumnsAvx2, bitsPerPixel == 8 ? Sse2ResizePasses(8).horizontal : &FilterLine32Avx2};
}
