// The reduction four pixels at a time, in double lanes. Every lane runs the portable
// loop's double operations in the same order, so the words are the same; where the
// portable loop branches, the lanes compute both sides and blend. A channel whose
// every lane takes the mean skips its divisions.

#include "filters/shared/noise/NoiseReduction.h"

#include <immintrin.h>

#include <cmath>

namespace {

// What the four pixels' windows hold: counts, divisors and the constants derived.
struct Lanes {
    __m256d count;
    __m256d divisor;
    __m256d countTimesDivisor;
    __m256d halfReciprocal;
};

Lanes LanesOf(const WindowShape& a, const WindowShape& b, const WindowShape& c, const WindowShape& d)
{
    return {_mm256_set_pd(d.count, c.count, b.count, a.count),
            _mm256_set_pd(d.divisor, c.divisor, b.divisor, a.divisor),
            _mm256_set_pd(d.countTimesDivisor, c.countTimesDivisor, b.countTimesDivisor, a.countTimesDivisor),
            _mm256_set_pd(d.halfReciprocal, c.halfReciprocal, b.halfReciprocal, a.halfReciprocal)};
}

// Away from the left and right edges every window spans the widest.
Lanes LanesAt(const ReductionRow& row, int x, const Lanes& widest)
{
    if (row.spans[x] == row.widestSpan && row.spans[x + 3] == row.widestSpan) return widest;
    return LanesOf(row.shapes[row.spans[x]], row.shapes[row.spans[x + 1]], row.shapes[row.spans[x + 2]],
                   row.shapes[row.spans[x + 3]]);
}

__m256d LoadSums(const int32_t* values)
{
    return _mm256_cvtepi32_pd(_mm_loadu_si128(reinterpret_cast<const __m128i*>(values)));
}

__m256d LoadOwn(const int16_t* values)
{
    return _mm256_cvtepi32_pd(_mm_cvtepi16_epi32(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(values))));
}

__m256d SignBit() { return _mm256_set1_pd(-0.0); }
__m256d AllLanes() { return _mm256_castsi256_pd(_mm256_set1_epi64x(-1)); }
bool Every(__m256d mask) { return _mm256_movemask_pd(mask) == 0xF; }

struct Channel {
    __m256d sum;
    __m256d squares;
    __m256d own;
    __m256d spread;  // n Q - S^2, exact
};

Channel ChannelOf(const ReductionRow& row, int channel, int x, const Lanes& lanes)
{
    Channel lanesOf;
    lanesOf.sum = LoadSums(row.sums[channel] + x);
    lanesOf.squares = LoadSums(row.squares[channel] + x);
    lanesOf.own = LoadOwn(row.own[channel] + x);
    lanesOf.spread =
        _mm256_sub_pd(_mm256_mul_pd(lanes.count, lanesOf.squares), _mm256_mul_pd(lanesOf.sum, lanesOf.sum));
    return lanesOf;
}

__m256d MeanOf(const Channel& channel, const Lanes& lanes) { return _mm256_div_pd(channel.sum, lanes.count); }

__m256d VarianceOf(const Channel& channel, __m256d mean, const Lanes& lanes)
{
    const __m256d pulled = _mm256_mul_pd(_mm256_mul_pd(lanes.count, mean), mean);
    return _mm256_div_pd(_mm256_sub_pd(channel.squares, pulled), lanes.divisor);
}

// Read here rather than through the shared inline helpers: an inline function compiled
// in this file may carry AVX2 instructions into code that runs without them.
double LevelIn(const NoiseLevels& levels, int channel)
{
    return channel == 0 ? levels.first : channel == 1 ? levels.second : levels.third;
}

// A level and the margin within which its comparison with an exact variance is too
// close to call, per unit of n x divisor. Any margin at least as wide as the portable
// loop's gives the same decisions, since the close calls take the double arithmetic.
struct Level {
    __m256d value;
    __m256d margin;
};

Level LaneLevel(double level)
{
    return {_mm256_set1_pd(level), _mm256_set1_pd(kUncertainVariance + std::abs(level) * kLevelProductError)};
}

Level Blended(const Level& a, const Level& b, __m256d takeB)
{
    return {_mm256_blendv_pd(a.value, b.value, takeB), _mm256_blendv_pd(a.margin, b.margin, takeB)};
}

// Whether the level covers the variance in each lane, decided from the exact variance
// as the portable loop decides it; the double variance only when some lane is too
// close to call.
__m256d Covers(const Level& level, const Channel& channel, const Lanes& lanes)
{
    const __m256d difference = _mm256_sub_pd(_mm256_mul_pd(level.value, lanes.countTimesDivisor), channel.spread);
    const __m256d margin = _mm256_mul_pd(level.margin, lanes.countTimesDivisor);
    const __m256d known = _mm256_cmp_pd(_mm256_andnot_pd(SignBit(), difference), margin, _CMP_GT_OQ);
    const __m256d yes = _mm256_and_pd(known, _mm256_cmp_pd(difference, _mm256_setzero_pd(), _CMP_GT_OQ));
    if (Every(known)) return yes;
    const __m256d variance = VarianceOf(channel, MeanOf(channel, lanes), lanes);
    return _mm256_blendv_pd(_mm256_cmp_pd(level.value, variance, _CMP_GE_OQ), yes, known);
}

// trunc(value + 0.5), saturated as the portable loop does, NaN giving 0; whole
// numbers stay in double lanes, exact, for the way back to colours.
__m256d Rounded(__m256d value)
{
    const __m256d limit = _mm256_set1_pd(1073741824.0);
    const __m256d rounded = _mm256_add_pd(value, _mm256_set1_pd(0.5));
    const __m256d number = _mm256_cmp_pd(rounded, rounded, _CMP_ORD_Q);
    const __m256d clamped = _mm256_min_pd(_mm256_max_pd(rounded, _mm256_xor_pd(limit, SignBit())), limit);
    return _mm256_and_pd(_mm256_round_pd(clamped, _MM_FROUND_TO_ZERO | _MM_FROUND_NO_EXC), number);
}

// trunc(S / n + 0.5) = trunc((2S + n) / 2n), as the portable loop's integers give it,
// without a division. The product with the rounded reciprocal lies within a few units
// in the last place of the quotient (below 2^9): it never reaches the next whole
// number from below, but lands just under a whole quotient when 2n divides 2S + n,
// which an exact product of whole numbers catches.
__m256d RoundedMean(const Channel& channel, const Lanes& lanes)
{
    const __m256d one = _mm256_set1_pd(1.0);
    const __m256d twice = _mm256_add_pd(_mm256_add_pd(channel.sum, channel.sum), lanes.count);
    const __m256d magnitude = _mm256_andnot_pd(SignBit(), twice);
    const __m256d divisor = _mm256_add_pd(lanes.count, lanes.count);
    const __m256d quotient = _mm256_floor_pd(_mm256_mul_pd(magnitude, lanes.halfReciprocal));
    const __m256d whole = _mm256_cmp_pd(_mm256_mul_pd(_mm256_add_pd(quotient, one), divisor), magnitude, _CMP_LE_OQ);
    return _mm256_or_pd(_mm256_add_pd(quotient, _mm256_and_pd(whole, one)), _mm256_and_pd(twice, SignBit()));
}

__m256d ReducedChannel(const Channel& channel, __m256d level, __m256d covered, const Lanes& lanes)
{
    if (Every(covered)) return RoundedMean(channel, lanes);
    const __m256d mean = MeanOf(channel, lanes);
    const __m256d variance = VarianceOf(channel, mean, lanes);
    const __m256d strength = _mm256_div_pd(_mm256_sub_pd(variance, level), variance);
    const __m256d pulled = _mm256_add_pd(mean, _mm256_mul_pd(strength, _mm256_sub_pd(channel.own, mean)));
    return Rounded(_mm256_blendv_pd(pulled, mean, covered));
}

// Per lane, the value of the one channel whose mask is set there.
__m256d Blended(const __m256d (&values)[3], const __m256d (&masks)[3])
{
    return _mm256_blendv_pd(_mm256_blendv_pd(values[0], values[1], masks[1]), values[2], masks[2]);
}

Channel Blended(const Channel (&channels)[3], const __m256d (&masks)[3])
{
    const auto field = [&](__m256d Channel::*member) {
        return Blended({channels[0].*member, channels[1].*member, channels[2].*member}, masks);
    };
    // The deciding channel's own values are never read.
    return {field(&Channel::sum), field(&Channel::squares), _mm256_setzero_pd(), field(&Channel::spread)};
}

__m128i Byte(__m256d value)
{
    return _mm256_cvttpd_epi32(_mm256_min_pd(_mm256_max_pd(value, _mm256_setzero_pd()), _mm256_set1_pd(255.0)));
}

// (a x first + b x second + 512) >> 10 on whole numbers below 2^41: every product and
// sum is exact in double, and a floor after the exact division by 1024 is the shift.
__m256d Shifted(double a, __m256d first, double b, __m256d second)
{
    const __m256d sum = _mm256_add_pd(_mm256_add_pd(_mm256_mul_pd(_mm256_set1_pd(a), first),
                                                    _mm256_mul_pd(_mm256_set1_pd(b), second)),
                                      _mm256_set1_pd(512.0));
    return _mm256_floor_pd(_mm256_mul_pd(sum, _mm256_set1_pd(1.0 / 1024.0)));
}

void StorePixels(const __m256d (&channels)[3], bool luma, uint32_t* out)
{
    __m256d red = channels[0];
    __m256d green = channels[1];
    __m256d blue = channels[2];
    if (luma) {
        const __m256d y = channels[0];
        red = Shifted(1436.0, channels[1], 1024.0, y);
        blue = Shifted(1814.0, channels[2], 1024.0, y);
        const __m256d lessRed =
            _mm256_sub_pd(_mm256_mul_pd(_mm256_set1_pd(1746.0), y), _mm256_mul_pd(_mm256_set1_pd(522.0), red));
        green = Shifted(1.0, lessRed, -200.0, blue);
    }
    const __m128i pixels =
        _mm_or_si128(_mm_or_si128(_mm_slli_epi32(Byte(red), 16), _mm_slli_epi32(Byte(green), 8)), Byte(blue));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out), pixels);
}

struct Levels {
    Level given[3];
    Level estimated[3];
};

void ReduceFour(const ReductionRow& row, int x, const Lanes& lanes, const Levels& levels, bool luma, uint32_t* out)
{
    const Channel channels[3] = {ChannelOf(row, 0, x, lanes), ChannelOf(row, 1, x, lanes),
                                 ChannelOf(row, 2, x, lanes)};
    // The first channel decides every tie, the third a tie with the second.
    const __m256d byFirst = _mm256_and_pd(_mm256_cmp_pd(channels[0].sum, channels[1].sum, _CMP_GE_OQ),
                                          _mm256_cmp_pd(channels[0].sum, channels[2].sum, _CMP_GE_OQ));
    const __m256d byThird = _mm256_andnot_pd(byFirst, _mm256_cmp_pd(channels[2].sum, channels[1].sum, _CMP_GE_OQ));
    const __m256d deciding[3] = {byFirst, _mm256_andnot_pd(_mm256_or_pd(byFirst, byThird), AllLanes()), byThird};
    const Level decidingLevel =
        Blended(Blended(levels.given[0], levels.given[1], deciding[1]), levels.given[2], deciding[2]);
    const __m256d flat = Covers(decidingLevel, Blended(channels, deciding), lanes);
    __m256d reduced[3];
    for (int channel = 0; channel < 3; ++channel) {
        const Level level = Blended(levels.estimated[channel], levels.given[channel], deciding[channel]);
        const __m256d covered = Every(flat) ? flat : _mm256_or_pd(flat, Covers(level, channels[channel], lanes));
        reduced[channel] = ReducedChannel(channels[channel], level.value, covered, lanes);
    }
    StorePixels(reduced, luma, out + x);
}

} // namespace

// Eight window sums at a time: the differences of entering and leaving columns are
// summed up within the vector in three shifted adds (the two 128-bit halves apart,
// then the lower half's total into the upper), and the running sum carried in. The
// carry grows by each vector's total, so consecutive vectors wait on one add only.
void SlideWindowAvx2(const int32_t* columns, int width, int radius, int32_t* sums)
{
    int32_t sum = 0;
    for (int x = -1 - radius; x < radius; ++x) sum += columns[x];
    __m256i carry = _mm256_set1_epi32(sum);
    const __m256i last = _mm256_set1_epi32(7);
    int x = 0;
    for (; x + 8 <= width; x += 8) {
        const __m256i entering = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(columns + x + radius));
        const __m256i leaving = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(columns + x - radius - 1));
        __m256i step = _mm256_sub_epi32(entering, leaving);
        step = _mm256_add_epi32(step, _mm256_slli_si256(step, 4));
        step = _mm256_add_epi32(step, _mm256_slli_si256(step, 8));
        const __m256i halfTotals = _mm256_shuffle_epi32(step, 0xFF);
        step = _mm256_add_epi32(step, _mm256_permute2x128_si256(halfTotals, halfTotals, 0x08));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(sums + x), _mm256_add_epi32(step, carry));
        carry = _mm256_add_epi32(carry, _mm256_permutevar8x32_epi32(step, last));
    }
    sum = _mm256_cvtsi256_si32(carry);
    for (; x < width; ++x) {
        sum += columns[x + radius] - columns[x - radius - 1];
        sums[x] = sum;
    }
}

// A lone pixel only occurs in a picture of one pixel, narrower than the lanes, so the
// lanes never meet a divisor of 0.
void ReduceRowAvx2(const ReductionRow& row, const ReductionInputs& inputs, uint32_t* out, int first)
{
    Levels levels;
    for (int channel = 0; channel < 3; ++channel) {
        levels.given[channel] = LaneLevel(LevelIn(inputs.deciding, channel));
        levels.estimated[channel] = LaneLevel(LevelIn(inputs.others, channel));
    }
    const WindowShape& widest = row.shapes[row.widestSpan];
    const Lanes widestLanes = LanesOf(widest, widest, widest, widest);
    int x = first;
    for (; x + 4 <= row.width; x += 4) {
        ReduceFour(row, x, LanesAt(row, x, widestLanes), levels, inputs.lumaChannels, out);
    }
    ReduceRowPortable(row, inputs, out, x);
}
