// Colour balance's HSL mode four pixels at a time, one pixel in each double lane.
// Every lane does the portable loop's operations on the side of each branch that the
// portable loop takes, in its order (the build fuses no multiply into an add, and
// divisions stay divisions), so each lane gives the portable bits. A branch becomes
// a blend: where both sides divide the same way, the lane first picks the side's
// operands and then divides once. Lanes of a side not taken may divide by zero (a grey
// has no span) or carry a NaN (from a text such as "nan"); the blends drop them.
// Minima and maxima stand in for branches only where they give the branch's bits,
// NaN and -0 included.
//
// Nothing here calls an inline function shared with the portable code, whose copy
// compiled for AVX2 the linker could otherwise keep for both.

#include "filters/color-balance/ColorBalanceKernels.h"

#include <immintrin.h>

namespace {

// taken where when is set, otherwise otherwise.
__m256d Pick(__m256d otherwise, __m256d taken, __m256d when)
{
    return _mm256_blendv_pd(otherwise, taken, when);
}

__m256d Equal(__m256d a, __m256d b) { return _mm256_cmp_pd(a, b, _CMP_EQ_OQ); }
__m256d Less(__m256d a, __m256d b) { return _mm256_cmp_pd(a, b, _CMP_LT_OQ); }
__m256d LessOrEqual(__m256d a, __m256d b) { return _mm256_cmp_pd(a, b, _CMP_LE_OQ); }
__m256d Greater(__m256d a, __m256d b) { return _mm256_cmp_pd(a, b, _CMP_GT_OQ); }
__m256d GreaterOrEqual(__m256d a, __m256d b) { return _mm256_cmp_pd(a, b, _CMP_GE_OQ); }

// The constants and the settings, broadcast once per row.
struct Lanes {
    __m256d levelToUnit = _mm256_set1_pd(0.00392156862745098);
    __m256d zero = _mm256_setzero_pd();
    __m256d half = _mm256_set1_pd(0.5);
    __m256d one = _mm256_set1_pd(1.0);
    __m256d two = _mm256_set1_pd(2.0);
    __m256d three = _mm256_set1_pd(3.0);
    __m256d five = _mm256_set1_pd(5.0);
    __m256d six = _mm256_set1_pd(6.0);
    __m256d sixty = _mm256_set1_pd(60.0);
    __m256d oneTwenty = _mm256_set1_pd(120.0);
    __m256d oneEighty = _mm256_set1_pd(180.0);
    __m256d twoForty = _mm256_set1_pd(240.0);
    __m256d fullCircle = _mm256_set1_pd(360.0);
    __m256d fullLevel = _mm256_set1_pd(255.0);
    __m256d hue;
    __m256d saturation;
    __m256d lightness;

    explicit Lanes(const HslAdjustment& adjustment)
        : hue(_mm256_set1_pd(adjustment.hue)),
          saturation(_mm256_set1_pd(adjustment.saturation)),
          lightness(_mm256_set1_pd(adjustment.lightness))
    {
    }
};

__m256d UnitOf(__m128i pixels, int shift, const Lanes& k)
{
    const __m128i level = _mm_and_si128(_mm_srli_epi32(pixels, shift), _mm_set1_epi32(0xFF));
    return _mm256_mul_pd(_mm256_cvtepi32_pd(level), k.levelToUnit);
}

// 1 from 1 up, 0 below 0; a NaN stays, and so does -0. The minimum's and the
// maximum's second operand is their answer for a NaN and for equal operands.
__m256d UnitClamped(__m256d value, const Lanes& k)
{
    return _mm256_max_pd(k.zero, _mm256_min_pd(k.one, value));
}

// The hue circle in sixths. Of the three quotients the portable code works out, each
// branch keeps the one of the channel between the largest and the smallest (where two
// channels tie, one of the same level), added to an offset or taken from it; the
// branches here only pick the offset and the sign.
__m256d HueSixths(__m256d red, __m256d green, __m256d blue, __m256d largest, __m256d smallest, const Lanes& k)
{
    const __m256d middle =
        _mm256_max_pd(_mm256_min_pd(red, green), _mm256_min_pd(_mm256_max_pd(red, green), blue));
    const __m256d redLargest = Equal(red, largest);
    const __m256d greenLargest = Equal(green, largest);
    const __m256d redSmallest = Equal(red, smallest);
    const __m256d greenSmallest = Equal(green, smallest);
    const __m256d blueSmallest = Equal(blue, smallest);

    // Blue largest: greenC + 5 or 1 - redC; green largest: redC + 3 or 5 - blueC; red
    // largest: blueC + 1 or 3 - greenC.
    __m256d offset = Pick(k.one, k.five, redSmallest);
    __m256d added = redSmallest;
    offset = Pick(offset, Pick(k.five, k.three, blueSmallest), greenLargest);
    added = Pick(added, blueSmallest, greenLargest);
    offset = Pick(offset, Pick(k.three, k.one, greenSmallest), redLargest);
    added = Pick(added, greenSmallest, redLargest);

    const __m256d quotient = _mm256_div_pd(_mm256_sub_pd(largest, middle), _mm256_sub_pd(largest, smallest));
    return Pick(_mm256_sub_pd(offset, quotient), _mm256_add_pd(quotient, offset), added);
}

// One channel of the way back, x degrees round the circle from the channel's start.
// Both slopes divide the same product by 60; the branches pick x or 240 - x for it.
__m256d HueChannel(__m256d m1, __m256d m2, __m256d x, const Lanes& k)
{
    x = Pick(x, _mm256_sub_pd(x, k.fullCircle), Greater(x, k.fullCircle));
    const __m256d rising = Less(x, k.sixty);
    const __m256d along = Pick(_mm256_sub_pd(k.twoForty, x), x, rising);
    const __m256d sloped = _mm256_add_pd(m1, _mm256_div_pd(_mm256_mul_pd(_mm256_sub_pd(m2, m1), along), k.sixty));
    __m256d value = Pick(m1, sloped, Less(x, k.twoForty));
    value = Pick(value, m2, Less(x, k.oneEighty));
    return Pick(value, sloped, rising);
}

// Clamped, then truncated. The maximum's second operand is its answer for a NaN, so a
// NaN becomes 0 as in the portable code; levels at or past the ends become the ends,
// whose truncation is the portable code's 0 and 255.
__m128i LevelOf(__m256d unit, const Lanes& k)
{
    const __m256d scaled = _mm256_mul_pd(unit, k.fullLevel);
    return _mm256_cvttpd_epi32(_mm256_min_pd(_mm256_max_pd(scaled, k.zero), k.fullLevel));
}

// Four pixels' hue, saturation and lightness after the adjustments.
struct HslLanes {
    __m256d hue;
    __m256d saturation;
    __m256d lightness;
};

HslLanes AdjustedHsl(__m128i pixels, const Lanes& k)
{
    const __m256d red = UnitOf(pixels, 16, k);
    const __m256d green = UnitOf(pixels, 8, k);
    const __m256d blue = UnitOf(pixels, 0, k);

    // To hue, saturation and lightness; a grey keeps hue and saturation 0.
    const __m256d largest = _mm256_max_pd(_mm256_max_pd(red, green), blue);
    const __m256d smallest = _mm256_min_pd(_mm256_min_pd(red, green), blue);
    __m256d lightness = _mm256_mul_pd(k.half, _mm256_add_pd(largest, smallest));
    const __m256d grey = Equal(largest, smallest);
    const __m256d darkHalf = LessOrEqual(lightness, k.half);
    const __m256d spread = Pick(_mm256_sub_pd(_mm256_sub_pd(k.two, largest), smallest),
                                _mm256_add_pd(largest, smallest), darkHalf);
    __m256d saturation = Pick(_mm256_div_pd(_mm256_sub_pd(largest, smallest), spread), k.zero, grey);
    const __m256d sixths = HueSixths(red, green, blue, largest, smallest, k);
    __m256d hue = Pick(_mm256_mul_pd(k.sixty, sixths), k.zero, GreaterOrEqual(sixths, k.six));
    hue = Pick(hue, k.zero, grey);

    // The adjustments, one correction of the hue each way.
    hue = _mm256_add_pd(hue, k.hue);
    hue = Pick(hue, _mm256_sub_pd(hue, k.fullCircle), Greater(hue, k.fullCircle));
    hue = Pick(hue, _mm256_add_pd(hue, k.fullCircle), Less(hue, k.zero));
    saturation = UnitClamped(_mm256_mul_pd(saturation, k.saturation), k);
    lightness = UnitClamped(_mm256_mul_pd(lightness, k.lightness), k);
    return {hue, saturation, lightness};
}

__m128i PixelsOf(__m256d hue, __m256d saturation, __m256d lightness, const Lanes& k)
{
    // And back; without saturation every channel is the lightness.
    const __m256d m2 = Pick(_mm256_sub_pd(_mm256_add_pd(lightness, saturation), _mm256_mul_pd(lightness, saturation)),
                            _mm256_mul_pd(lightness, _mm256_add_pd(k.one, saturation)),
                            LessOrEqual(lightness, k.half));
    const __m256d m1 = _mm256_sub_pd(_mm256_mul_pd(k.two, lightness), m2);
    const __m256d unsaturated = LessOrEqual(saturation, k.zero);
    const __m256d outRed = Pick(HueChannel(m1, m2, hue, k), lightness, unsaturated);
    const __m256d outGreen = Pick(HueChannel(m1, m2, _mm256_add_pd(hue, k.twoForty), k), lightness, unsaturated);
    const __m256d outBlue = Pick(HueChannel(m1, m2, _mm256_add_pd(hue, k.oneTwenty), k), lightness, unsaturated);

    return _mm_or_si128(_mm_or_si128(_mm_slli_epi32(LevelOf(outRed, k), 16), _mm_slli_epi32(LevelOf(outGreen, k), 8)),
                        LevelOf(outBlue, k));
}

} // namespace

// A chunk of the row goes to hue, saturation and lightness in one loop and back in
// another. Each half is a long chain of dependent operations, divisions among them;
// in one loop a pixel's whole chain would hold up the next pixels, in two the
// processor overlaps the chains of several pixels.
void AdjustHslRowAvx2(uint32_t* pixels, int count, const HslAdjustment& adjustment)
{
    constexpr int kChunk = 64;
    const Lanes k(adjustment);
    alignas(32) double hues[kChunk];
    alignas(32) double saturations[kChunk];
    alignas(32) double lightnesses[kChunk];
    const int whole = count - count % 4;
    int x = 0;
    while (x < whole) {
        const int n = whole - x < kChunk ? whole - x : kChunk;
        for (int i = 0; i < n; i += 4) {
            const HslLanes hsl = AdjustedHsl(_mm_loadu_si128(reinterpret_cast<const __m128i*>(pixels + x + i)), k);
            _mm256_store_pd(hues + i, hsl.hue);
            _mm256_store_pd(saturations + i, hsl.saturation);
            _mm256_store_pd(lightnesses + i, hsl.lightness);
        }
        for (int i = 0; i < n; i += 4) {
            _mm_storeu_si128(reinterpret_cast<__m128i*>(pixels + x + i),
                             PixelsOf(_mm256_load_pd(hues + i), _mm256_load_pd(saturations + i),
                                      _mm256_load_pd(lightnesses + i), k));
        }
        x += n;
    }
    for (; x < count; ++x) pixels[x] = AdjustPixelHsl(pixels[x], adjustment);
}
