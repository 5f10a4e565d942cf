// The resampler's passes with 256-bit vectors: the shared bodies at this width. The
// vertical pass takes thirty-two bytes of a line at a time and leaves the rest to
// SSE2; the horizontal pass two destination pixels at a time, one in each half, or
// four with two taps each. The 8-bit horizontal pass stays SSE2's: a pixel's taps
// rarely fill even the eight words an SSE2 vector holds.
//
// Narrow weights (0 .. 127, at most 128 a row) keep every product and sum within 16
// bits, so bytes times signed bytes are summed pairwise by one multiply-add into
// words, twice the values per instruction of the 32-bit sums; integer sums are
// exact, so the bytes are those of the portable loop.

#include "filters/resize/ResizeKernelColumns.h"
#include "filters/resize/ResizeKernelPassesVector.h"

#include <cstring>

namespace {

// Each pixel's four bytes of a group of four taps, gathered channel by channel
// (b0 b1 b2 b3 g0 ...), in both halves.
__m256i ChannelMajorOrder()
{
    return _mm256_setr_epi8(0, 4, 8, 12, 1, 5, 9, 13, 2, 6, 10, 14, 3, 7, 11, 15, 0, 4, 8, 12, 1, 5, 9, 13, 2, 6, 10,
                            14, 3, 7, 11, 15);
}

// A group of four destination pixels; only the first left of them when fewer are.
void StoreGroup(uint8_t* at, __m128i pixels, uint32_t left)
{
    if (left >= 4) {
        _mm_storeu_si128(reinterpret_cast<__m128i*>(at), pixels);
        return;
    }
    alignas(16) uint8_t group[16];
    _mm_store_si128(reinterpret_cast<__m128i*>(group), pixels);
    std::memcpy(at, group, static_cast<size_t>(left) * 4);
}

// Two taps a pixel, as every enlargement with the triangle has: four destination
// pixels a step, two in each half, each pixel's line offset and weight pair read from
// the plan. Each pixel's 8 bytes of line are its two taps; one byte shuffle pairs
// their channels, and a multiply-add per pixel pair sums them as the portable loop
// does. A last group of fewer than four (the plan repeats its last pixel) stores what
// it owns.
void FilterLine32TwoTapsAvx2(const uint8_t* line, const CWideColumns& columns, uint8_t* out, uint32_t width)
{
    const __m256i pairChannels =
        _mm256_setr_epi8(0, 4, 1, 5, 2, 6, 3, 7, 8, 12, 9, 13, 10, 14, 11, 15, 0, 4, 1, 5, 2, 6, 3, 7, 8, 12, 9, 13,
                         10, 14, 11, 15);
    // Pixels 0 and 2 in the even products, 1 and 3 in the odd, each pair's weights
    // over its four channels.
    const __m256i evenWeights = _mm256_setr_epi32(0, 0, 0, 0, 2, 2, 2, 2);
    const __m256i oddWeights = _mm256_setr_epi32(1, 1, 1, 1, 3, 3, 3, 3);
    const __m256i rounding = _mm256_set1_epi32(64);
    const __m256i zero = _mm256_setzero_si256();
    const uint32_t* offsets = columns.Offsets();
    const int16_t* weights = columns.Weights();
    for (uint32_t k = 0; k < width; k += 4, offsets += 4, weights += 8) {
        const auto taps = [&](int p) { return _mm_loadl_epi64(reinterpret_cast<const __m128i*>(line + offsets[p])); };
        // Half 0 holds pixels 0 and 1, half 1 pixels 2 and 3.
        const __m256i fourPairs = _mm256_setr_m128i(_mm_unpacklo_epi64(taps(0), taps(1)),
                                                    _mm_unpacklo_epi64(taps(2), taps(3)));
        const __m256i paired = _mm256_shuffle_epi8(fourPairs, pairChannels);
        const __m256i weightPairs =
            _mm256_castsi128_si256(_mm_loadu_si128(reinterpret_cast<const __m128i*>(weights)));
        const __m256i even = _mm256_madd_epi16(_mm256_unpacklo_epi8(paired, zero),
                                               _mm256_permutevar8x32_epi32(weightPairs, evenWeights));
        const __m256i odd = _mm256_madd_epi16(_mm256_unpackhi_epi8(paired, zero),
                                              _mm256_permutevar8x32_epi32(weightPairs, oddWeights));
        const __m256i words = _mm256_packs_epi32(_mm256_srai_epi32(_mm256_add_epi32(even, rounding), 7),
                                                 _mm256_srai_epi32(_mm256_add_epi32(odd, rounding), 7));
        const __m256i bytes = _mm256_permute4x64_epi64(_mm256_packus_epi16(words, words), 0x08);
        StoreGroup(out + static_cast<size_t>(k) * 4, _mm256_castsi256_si128(bytes), width - k);
    }
}

// Two rows' bytes interleaved, times their weights side by side, into the words of
// each half in the order the unpacks take them; the packs at the end undo that order.
// A reduction's next line reads rows beyond this window from memory: asking for the
// two after it while this line is summed took a fifth off a halving (measured), and
// asking for them into the second-level cache rather than the first took about a
// tenth more (12 MP bilinear halving, fastest of 16 rounds: 6.0 ms, 5.2 ms). kTaps
// is the taps where known at compile time: a halving's four, whose weight pairs then
// stay in registers across the row (the halving went from 5.0 to 4.3 ms, medians of
// eight rounds), 0 where not.
template <int kTaps>
void FilterColumnsNarrowTapsAvx2(const uint8_t* top, size_t stride, const int8_t* weights, int anyTaps, uint8_t* out,
                                 size_t bytes)
{
    const int taps = kTaps != 0 ? kTaps : anyTaps;
    size_t b = 0;
    const uint8_t* beyond = top + static_cast<size_t>(taps) * stride;
    for (; b + 32 <= bytes; b += 32) {
        _mm_prefetch(reinterpret_cast<const char*>(beyond + b + 512), _MM_HINT_T1);
        _mm_prefetch(reinterpret_cast<const char*>(beyond + stride + b + 512), _MM_HINT_T1);
        __m256i low = _mm256_set1_epi16(64);
        __m256i high = low;
        for (int t = 0; t < taps; t += 2) {
            const uint8_t* row = top + static_cast<size_t>(t) * stride + b;
            const bool paired = t + 1 < taps;
            const __m256i first = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(row));
            const __m256i second = paired ? _mm256_loadu_si256(reinterpret_cast<const __m256i*>(row + stride)) : first;
            const auto secondWeight = static_cast<uint8_t>(paired ? weights[t + 1] : 0);
            const __m256i pair = _mm256_set1_epi16(static_cast<int16_t>(secondWeight << 8 | static_cast<uint8_t>(weights[t])));
            low = _mm256_add_epi16(low, _mm256_maddubs_epi16(_mm256_unpacklo_epi8(first, second), pair));
            high = _mm256_add_epi16(high, _mm256_maddubs_epi16(_mm256_unpackhi_epi8(first, second), pair));
        }
        const __m256i packed = _mm256_packus_epi16(_mm256_srli_epi16(low, 7), _mm256_srli_epi16(high, 7));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + b), packed);
    }
    for (; b < bytes; ++b) {
        int32_t sum = 0;
        for (int t = 0; t < taps; ++t) sum += weights[t] * top[static_cast<size_t>(t) * stride + b];
        out[b] = RoundedByte(sum);
    }
}

void FilterColumnsNarrowAvx2(const uint8_t* top, size_t stride, const int8_t* weights, int taps, uint8_t* out,
                             size_t bytes)
{
    if (taps == 4) FilterColumnsNarrowTapsAvx2<4>(top, stride, weights, taps, out, bytes);
    else FilterColumnsNarrowTapsAvx2<0>(top, stride, weights, taps, out, bytes);
}

// Four destination pixels a step, two in each half. A shuffle puts each group of four
// taps channel by channel (b0 b1 b2 b3 g0 ...), one multiply-add by the group's four
// weights leaves two partial sums a channel, and a horizontal add of the two halves'
// words finishes pixels 0 and 2 in the lower half, 1 and 3 in the upper. kTaps is
// the plan's taps where known at compile time (the halvings' single group of four
// keeps its work in registers), 0 where not. Destination pixels from first on.
template <int kTaps>
void FilterLine32NarrowAvx2(const uint8_t* line, const CNarrowColumns& columns, uint8_t* out, uint32_t width,
                            uint32_t first = 0)
{
    const int taps = kTaps != 0 ? kTaps : columns.Taps();
    const __m256i channelMajor = ChannelMajorOrder();
    const __m256i pixelOrder = _mm256_setr_epi32(0, 4, 1, 5, 2, 6, 3, 7);
    const __m256i rounding = _mm256_set1_epi16(64);
    const uint32_t* offsets = columns.Offsets() + first;
    const int8_t* weights = columns.Weights() + static_cast<size_t>(first) * taps;
    for (uint32_t k = first; k < width; k += 4, offsets += 4, weights += 4 * taps) {
        __m256i evenPixels = _mm256_setzero_si256();  // pixels 0 and 1
        __m256i oddPixels = _mm256_setzero_si256();   // pixels 2 and 3
        for (int t = 0; t < taps; t += 4) {
            const auto fourTaps = [&](int p) {
                return _mm_loadu_si128(reinterpret_cast<const __m128i*>(line + offsets[p] + static_cast<size_t>(t) * 4));
            };
            const auto fourWeights = [&](int p) {
                int32_t packed;
                std::memcpy(&packed, weights + p * taps + t, sizeof packed);
                return _mm_set1_epi32(packed);
            };
            const __m256i even = _mm256_setr_m128i(fourTaps(0), fourTaps(1));
            const __m256i odd = _mm256_setr_m128i(fourTaps(2), fourTaps(3));
            evenPixels = _mm256_add_epi16(evenPixels, _mm256_maddubs_epi16(_mm256_shuffle_epi8(even, channelMajor),
                                                                           _mm256_setr_m128i(fourWeights(0), fourWeights(1))));
            oddPixels = _mm256_add_epi16(oddPixels, _mm256_maddubs_epi16(_mm256_shuffle_epi8(odd, channelMajor),
                                                                         _mm256_setr_m128i(fourWeights(2), fourWeights(3))));
        }
        const __m256i sums = _mm256_add_epi16(_mm256_hadd_epi16(evenPixels, oddPixels), rounding);
        const __m256i shifted = _mm256_srli_epi16(sums, 7);
        const __m256i bytes = _mm256_permutevar8x32_epi32(_mm256_packus_epi16(shifted, shifted), pixelOrder);
        StoreGroup(out + static_cast<size_t>(k) * 4, _mm256_castsi256_si128(bytes), width - k);
    }
}

// Eight destination pixels a step where every pixel has four taps (the halvings).
// Pixels p and p + 4 share a multiply-add, one in each half, their weights spread
// from a single load of the eight pixels' weights by a shuffle; two horizontal adds
// then leave pixels 0 to 3 in the lower half and 4 to 7 in the upper, in order, so
// the pack needs no permutation. The sums are those of the four-pixel step above.
void FilterLine32FourTapsAvx2(const uint8_t* line, const CNarrowColumns& columns, uint8_t* out, uint32_t width)
{
    const __m256i channelMajor = ChannelMajorOrder();
    const __m256i rounding = _mm256_set1_epi16(64);
    const uint32_t* offsets = columns.Offsets();
    const int8_t* weights = columns.Weights();
    uint32_t k = 0;
    for (; k + 8 <= width; k += 8) {
        const __m256i eightWeights = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(weights + 4 * k));
        const auto pixelPair = [&](int p) {
            const auto fourTaps = [&](uint32_t pixel) {
                return _mm_loadu_si128(reinterpret_cast<const __m128i*>(line + offsets[pixel]));
            };
            const __m256i taps = _mm256_setr_m128i(fourTaps(k + p), fourTaps(k + p + 4));
            const __m256i spread = _mm256_shuffle_epi8(eightWeights, _mm256_set1_epi32(0x03020100 + p * 0x04040404));
            return _mm256_maddubs_epi16(_mm256_shuffle_epi8(taps, channelMajor), spread);
        };
        const auto finished = [&](__m256i sums) { return _mm256_srli_epi16(_mm256_add_epi16(sums, rounding), 7); };
        const __m256i lower = finished(_mm256_hadd_epi16(pixelPair(0), pixelPair(1)));  // pixels 0, 1 | 4, 5
        const __m256i upper = finished(_mm256_hadd_epi16(pixelPair(2), pixelPair(3)));  // pixels 2, 3 | 6, 7
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + static_cast<size_t>(k) * 4),
                            _mm256_packus_epi16(lower, upper));
    }
    FilterLine32NarrowAvx2<4>(line, columns, out, width, k);
}

void FilterLine32NarrowAnyAvx2(const uint8_t* line, const CNarrowColumns& columns, uint8_t* out, uint32_t width)
{
    if (columns.Taps() == 4) FilterLine32FourTapsAvx2(line, columns, out, width);
    else FilterLine32NarrowAvx2<0>(line, columns, out, width);
}

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
    if (bitsPerPixel == 8) return {&FilterColumnsAvx2, Sse2ResizePasses(8).horizontal, &FilterColumnsNarrowAvx2};
    return {&FilterColumnsAvx2, &FilterLine32Avx2, &FilterColumnsNarrowAvx2, &FilterLine32NarrowAnyAvx2,
            &FilterLine32TwoTapsAvx2};
}
