// Lens distortion four pixels at a time. Every lane runs the portable loop's
// operations in its order (products, sums, quotients and roots round as the scalar
// ones, the build fuses no multiply into an add), so it gives the same bits: the
// floor of a point inside the picture is the scalar one, the clamp becomes a max and
// a min, which agree with it on the sums that reach them, and the rounding adds and
// takes away 2^52 as the scalar loop does. Away from the edges float sums settle
// almost every pixel, and each pixel is summed in doubles with its channels in the
// lanes where a float sum lies too near a half; near the edges the neighbours are
// gathered, each masked off where it lies outside, and each channel of four pixels
// summed in the lanes.

#include "filters/lens-distort/LensDistortKernel.h"

#include <immintrin.h>

#include <algorithm>
#include <limits>
#include <new>
#include <vector>

namespace {

constexpr int kLanes = 4;

// The pixels at (x, y) of the lanes in use, 0 where a neighbour lies outside.
__m128i Gathered(const PixelRows& source, __m128i x, __m128i y, __m128i use)
{
    const __m128i minusOne = _mm_set1_epi32(-1);
    const __m128i inX = _mm_and_si128(_mm_cmpgt_epi32(x, minusOne), _mm_cmpgt_epi32(_mm_set1_epi32(source.width), x));
    const __m128i inY = _mm_and_si128(_mm_cmpgt_epi32(y, minusOne), _mm_cmpgt_epi32(_mm_set1_epi32(source.height), y));
    const __m128i mask = _mm_and_si128(use, _mm_and_si128(inX, inY));
    const __m128i offsets = _mm_and_si128(
        mask, _mm_add_epi32(_mm_mullo_epi32(y, _mm_set1_epi32(static_cast<int>(source.stride))), _mm_slli_epi32(x, 2)));
    return _mm_mask_i32gather_epi32(_mm_setzero_si128(), reinterpret_cast<const int*>(source.bits), offsets, mask, 1);
}

struct Corners {
    __m128i p00;
    __m128i p01;
    __m128i p10;
    __m128i p11;
};

// The four neighbours of each lane in use, each gathered on its own and 0 where it
// lies outside.
Corners GatheredCorners(const PixelRows& source, __m128i x0, __m128i y0, __m128i inUse)
{
    const __m128i oneInt = _mm_set1_epi32(1);
    return {Gathered(source, x0, y0, inUse), Gathered(source, x0, _mm_add_epi32(y0, oneInt), inUse),
            Gathered(source, _mm_add_epi32(x0, oneInt), y0, inUse),
            Gathered(source, _mm_add_epi32(x0, oneInt), _mm_add_epi32(y0, oneInt), inUse)};
}

// One byte of each pixel (kShift 16, 8 or 0) as doubles, picked with one shuffle.
template <int kShift>
__m256d ChannelOf(__m128i pixels)
{
    constexpr char at = kShift / 8;
    constexpr char none = -128;
    const __m128i pick = _mm_setr_epi8(at, none, none, none, at + 4, none, none, none, at + 8, none, none, none,
                                       at + 12, none, none, none);
    return _mm256_cvtepi32_pd(_mm_shuffle_epi8(pixels, pick));
}

struct Weights {
    __m256d w00;
    __m256d w01;
    __m256d w10;
    __m256d w11;
};

// Each point's distances right of and above its bottom-left neighbour.
struct Fractions {
    __m256d fx;
    __m256d fy;
};

Weights WeightsOf(const Fractions& fractions)
{
    const __m256d one = _mm256_set1_pd(1.0);
    const __m256d fx = fractions.fx;
    const __m256d fy = fractions.fy;
    return {_mm256_mul_pd(_mm256_sub_pd(one, fx), _mm256_sub_pd(one, fy)), _mm256_mul_pd(_mm256_sub_pd(one, fx), fy),
            _mm256_mul_pd(fx, _mm256_sub_pd(one, fy)), _mm256_mul_pd(fx, fy)};
}

// One channel of the four pixels, in place in their words: the weighted sum added in
// the scalar loop's order, held in 0 .. 255 and rounded half to even.
template <int kShift>
__m128i ChannelSum(const Corners& corners, const Weights& weights)
{
    __m256d sum = _mm256_mul_pd(ChannelOf<kShift>(corners.p00), weights.w00);
    sum = _mm256_add_pd(sum, _mm256_mul_pd(ChannelOf<kShift>(corners.p01), weights.w01));
    sum = _mm256_add_pd(sum, _mm256_mul_pd(ChannelOf<kShift>(corners.p10), weights.w10));
    sum = _mm256_add_pd(sum, _mm256_mul_pd(ChannelOf<kShift>(corners.p11), weights.w11));
    const __m256d noFraction = _mm256_set1_pd(4503599627370496.0);
    const __m256d clamped = _mm256_min_pd(_mm256_max_pd(sum, _mm256_setzero_pd()), _mm256_set1_pd(255.0));
    const __m256d rounded = _mm256_sub_pd(_mm256_add_pd(clamped, noFraction), noFraction);
    return _mm_slli_epi32(_mm256_cvttpd_epi32(rounded), kShift);
}

// The four pixels one at a time, with the channels in the lanes: each row's two
// neighbours widen from one 8-byte read, and the same sums are added in the same
// order. Far fewer instructions than picking each channel out of four pixels, where
// every neighbour lies inside.
template <int kLane>
__m256d LaneOf(__m256d values)
{
    return _mm256_permute4x64_pd(values, kLane * 0x55);
}

template <int kLane>
__m128i OnePixel(const uint8_t* bits, ptrdiff_t stride, __m128i offsets, const Weights& weights)
{
    const uint8_t* bottomPair = bits + _mm_extract_epi32(offsets, kLane);
    const __m256i bottom = _mm256_cvtepu8_epi32(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(bottomPair)));
    const __m256i top = _mm256_cvtepu8_epi32(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(bottomPair + stride)));
    __m256d sum = _mm256_mul_pd(_mm256_cvtepi32_pd(_mm256_castsi256_si128(bottom)), LaneOf<kLane>(weights.w00));
    sum = _mm256_add_pd(sum, _mm256_mul_pd(_mm256_cvtepi32_pd(_mm256_castsi256_si128(top)), LaneOf<kLane>(weights.w01)));
    sum = _mm256_add_pd(
        sum, _mm256_mul_pd(_mm256_cvtepi32_pd(_mm256_extracti128_si256(bottom, 1)), LaneOf<kLane>(weights.w10)));
    sum = _mm256_add_pd(sum,
                        _mm256_mul_pd(_mm256_cvtepi32_pd(_mm256_extracti128_si256(top, 1)), LaneOf<kLane>(weights.w11)));
    const __m256d noFraction = _mm256_set1_pd(4503599627370496.0);
    const __m256d clamped = _mm256_min_pd(_mm256_max_pd(sum, _mm256_setzero_pd()), _mm256_set1_pd(255.0));
    return _mm256_cvttpd_epi32(_mm256_sub_pd(_mm256_add_pd(clamped, noFraction), noFraction));
}

// Every lane's point has its four neighbours inside.
[[gnu::noinline]] __m128i ByPixel(const PixelRows& source, __m128i offsets, const Weights& weights)
{
    const __m128i first = OnePixel<0>(source.bits, source.stride, offsets, weights);
    const __m128i second = OnePixel<1>(source.bits, source.stride, offsets, weights);
    const __m128i third = OnePixel<2>(source.bits, source.stride, offsets, weights);
    const __m128i fourth = OnePixel<3>(source.bits, source.stride, offsets, weights);
    // Levels 0 .. 255 in each word: two saturating packs put the bytes in pixel order.
    const __m128i pixels = _mm_packus_epi16(_mm_packus_epi32(first, second), _mm_packus_epi32(third, fourth));
    return _mm_and_si128(pixels, _mm_set1_epi32(0x00FFFFFF));
}

// The four pixels with float sums, which decide the bytes of all but the sums that
// lie near a half: a float sum strays from the double one by under 2e-4 (the
// fractions rounded once to float, then three roundings for a weight under 1 and
// seven for the products and sums under 256), so where every float sum is more than
// 1/1024 from a half, both round to the same level, and the clamp of the double sums
// changes none of them. Otherwise the double sums settle the four pixels. Twice the
// lanes of the double sums: two pixels' channels a vector.
struct PixelPairs {
    __m256 x0;  // two points' pixels at x0, each in its four lanes
    __m256 x1;  // and at x0 + 1
};

// The neighbour pairs at byte offsets first and second (x0 and x0 + 1 in one row).
PixelPairs PairsAt(const uint8_t* first, const uint8_t* second)
{
    const __m128i firstPair = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(first));
    const __m128i secondPair = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(second));
    const __m128i byColumn = _mm_unpacklo_epi32(firstPair, secondPair);
    return {_mm256_cvtepi32_ps(_mm256_cvtepu8_epi32(byColumn)),
            _mm256_cvtepi32_ps(_mm256_cvtepu8_epi32(_mm_unpackhi_epi64(byColumn, byColumn)))};
}

struct FloatWeights {
    __m128 w00;
    __m128 w01;
    __m128 w10;
    __m128 w11;
};

FloatWeights FloatWeightsOf(const Fractions& fractions)
{
    const __m128 fx = _mm256_cvtpd_ps(fractions.fx);
    const __m128 fy = _mm256_cvtpd_ps(fractions.fy);
    const __m128 one = _mm_set1_ps(1.0f);
    return {_mm_mul_ps(_mm_sub_ps(one, fx), _mm_sub_ps(one, fy)), _mm_mul_ps(_mm_sub_ps(one, fx), fy),
            _mm_mul_ps(fx, _mm_sub_ps(one, fy)), _mm_mul_ps(fx, fy)};
}

// Lanes kFirst and kFirst + 1 of four weights, each spread over its pixel's channels.
template <int kFirst>
__m256 SpreadOver(__m128 weights)
{
    const __m256i pick = _mm256_setr_epi32(kFirst, kFirst, kFirst, kFirst, kFirst + 1, kFirst + 1, kFirst + 1,
                                           kFirst + 1);
    return _mm256_permutevar8x32_ps(_mm256_castps128_ps256(weights), pick);
}

struct RoundedPair {
    __m256i levels;
    int nearHalf;  // a bit for every colour channel whose sum lies near a half
};

template <int kFirst>
RoundedPair PairInFloat(const uint8_t* bits, ptrdiff_t stride, __m128i offsets, const FloatWeights& weights)
{
    const uint8_t* first = bits + _mm_extract_epi32(offsets, kFirst);
    const uint8_t* second = bits + _mm_extract_epi32(offsets, kFirst + 1);
    const PixelPairs bottom = PairsAt(first, second);
    const PixelPairs top = PairsAt(first + stride, second + stride);
    __m256 sum = _mm256_mul_ps(bottom.x0, SpreadOver<kFirst>(weights.w00));
    sum = _mm256_add_ps(sum, _mm256_mul_ps(top.x0, SpreadOver<kFirst>(weights.w01)));
    sum = _mm256_add_ps(sum, _mm256_mul_ps(bottom.x1, SpreadOver<kFirst>(weights.w10)));
    sum = _mm256_add_ps(sum, _mm256_mul_ps(top.x1, SpreadOver<kFirst>(weights.w11)));
    const __m256 nearest = _mm256_round_ps(sum, _MM_FROUND_TO_NEAREST_INT | _MM_FROUND_NO_EXC);
    const __m256 away = _mm256_andnot_ps(_mm256_set1_ps(-0.0f), _mm256_sub_ps(sum, nearest));
    constexpr float kUnsettled = 0.5f - 1.0f / 1024;
    constexpr int kColourLanes = 0x77;
    const int nearHalf =
        _mm256_movemask_ps(_mm256_cmp_ps(away, _mm256_set1_ps(kUnsettled), _CMP_GT_OQ)) & kColourLanes;
    return {_mm256_cvtps_epi32(nearest), nearHalf};
}

[[gnu::always_inline]] inline __m128i ByPixelPairs(const PixelRows& source, __m128i offsets, const Fractions& fractions)
{
    const FloatWeights weights = FloatWeightsOf(fractions);
    const RoundedPair firstTwo = PairInFloat<0>(source.bits, source.stride, offsets, weights);
    const RoundedPair lastTwo = PairInFloat<2>(source.bits, source.stride, offsets, weights);
    if ((firstTwo.nearHalf | lastTwo.nearHalf) != 0) return ByPixel(source, offsets, WeightsOf(fractions));
    // Words in the halves' order: pixels 0 and 2, then 1 and 3; bytes back in order.
    const __m256i words = _mm256_packus_epi32(firstTwo.levels, lastTwo.levels);
    const __m128i bytes = _mm_packus_epi16(_mm256_castsi256_si128(words), _mm256_extracti128_si256(words, 1));
    return _mm_and_si128(_mm_shuffle_epi32(bytes, _MM_SHUFFLE(3, 1, 2, 0)), _mm_set1_epi32(0x00FFFFFF));
}

// Where the four lanes read the source: (x, y) = (cx + sign * tx, cy + ty) for the
// offsets the caller worked out.
struct SourcePoints {
    __m256d sx;
    __m256d sy;
};

// Every lane's point has its four neighbours inside: x0 from 0 to width - 2, y0 to
// height - 2. Ordered comparisons: NaN points are not.
bool AllInterior(const PixelRows& source, const SourcePoints& points)
{
    const __m256d zero = _mm256_setzero_pd();
    const __m256d interior = _mm256_and_pd(
        _mm256_and_pd(_mm256_cmp_pd(points.sx, zero, _CMP_GE_OQ),
                      _mm256_cmp_pd(points.sx, _mm256_set1_pd(source.width - 1), _CMP_LT_OQ)),
        _mm256_and_pd(_mm256_cmp_pd(points.sy, zero, _CMP_GE_OQ),
                      _mm256_cmp_pd(points.sy, _mm256_set1_pd(source.height - 1), _CMP_LT_OQ)));
    return _mm256_movemask_pd(interior) == 0xF;
}

[[gnu::always_inline]] inline __m128i InteriorPixels(const PixelRows& source, const SourcePoints& points)
{
    const __m256d left = _mm256_floor_pd(points.sx);
    const __m256d bottom = _mm256_floor_pd(points.sy);
    const Fractions fractions{_mm256_sub_pd(points.sx, left), _mm256_sub_pd(points.sy, bottom)};
    const __m128i offsets = _mm_add_epi32(
        _mm_mullo_epi32(_mm256_cvttpd_epi32(bottom), _mm_set1_epi32(static_cast<int>(source.stride))),
        _mm_slli_epi32(_mm256_cvttpd_epi32(left), 2));
    return ByPixelPairs(source, offsets, fractions);
}

// Points near or beyond the edges, some lanes' neighbours outside.
[[gnu::noinline]] __m128i EdgePixels(const PixelRows& source, const SourcePoints& points)
{
    const __m256d sx = points.sx;
    const __m256d sy = points.sy;
    // Ordered comparisons: NaN points are outside, as in the scalar test.
    const __m256d minusOne = _mm256_set1_pd(-1.0);
    const __m256d inside = _mm256_and_pd(
        _mm256_and_pd(_mm256_cmp_pd(sx, minusOne, _CMP_GE_OQ),
                      _mm256_cmp_pd(sx, _mm256_set1_pd(source.width), _CMP_LT_OQ)),
        _mm256_and_pd(_mm256_cmp_pd(sy, minusOne, _CMP_GE_OQ),
                      _mm256_cmp_pd(sy, _mm256_set1_pd(source.height), _CMP_LT_OQ)));
    const __m256d left = _mm256_floor_pd(sx);
    const __m256d bottom = _mm256_floor_pd(sy);
    const Fractions fractions{_mm256_sub_pd(sx, left), _mm256_sub_pd(sy, bottom)};
    // Outside lanes convert whatever their floors are; their reads are masked off.
    const __m128i use = _mm256_cvtpd_epi32(_mm256_and_pd(inside, _mm256_set1_pd(1.0)));
    const __m128i inUse = _mm_cmpeq_epi32(use, _mm_set1_epi32(1));
    const __m128i x0 = _mm_and_si128(inUse, _mm256_cvttpd_epi32(_mm256_and_pd(inside, left)));
    const __m128i y0 = _mm_and_si128(inUse, _mm256_cvttpd_epi32(_mm256_and_pd(inside, bottom)));
    const Corners corners = GatheredCorners(source, x0, y0, inUse);
    const Weights weights = WeightsOf(fractions);
    const __m128i pixels = _mm_or_si128(
        _mm_or_si128(ChannelSum<16>(corners, weights), ChannelSum<8>(corners, weights)), ChannelSum<0>(corners, weights));
    return _mm_and_si128(pixels, inUse);
}

// Every lane's point reads only zeros: beyond -1 or the far edge on either axis, as
// the scalar test has it. Ordered comparisons: NaN points are not, and take the edge
// path, which reads them as zeros too.
bool AllOutside(const PixelRows& source, const SourcePoints& points)
{
    const __m256d minusOne = _mm256_set1_pd(-1.0);
    const __m256d outside = _mm256_or_pd(
        _mm256_or_pd(_mm256_cmp_pd(points.sx, minusOne, _CMP_LT_OQ),
                     _mm256_cmp_pd(points.sx, _mm256_set1_pd(source.width), _CMP_GE_OQ)),
        _mm256_or_pd(_mm256_cmp_pd(points.sy, minusOne, _CMP_LT_OQ),
                     _mm256_cmp_pd(points.sy, _mm256_set1_pd(source.height), _CMP_GE_OQ)));
    return _mm256_movemask_pd(outside) == 0xF;
}

[[gnu::always_inline]] inline __m128i Sampled(const PixelRows& source, const SourcePoints& points)
{
    if (AllInterior(source, points)) return InteriorPixels(source, points);
    if (AllOutside(source, points)) return _mm_setzero_si128();
    return EdgePixels(source, points);
}

// The moves of four columns at distances a .. a + 3 right of the centre column, in a
// row dy above the centre row. A column at the same distance left of it, or a row at
// the same distance below, moves by the same amounts the other way: negating dx or dy
// negates its quotient and product exactly, and c + (-t) rounds as c - t.
struct ColumnMoves {
    __m256d tx;
    __m256d ty;
};

ColumnMoves MovesAt(const LensGeometry& geometry, __m256d a, __m256d dy)
{
    const __m256d r = _mm256_sqrt_pd(_mm256_add_pd(_mm256_mul_pd(a, a), _mm256_mul_pd(dy, dy)));
    const __m256d reference = _mm256_set1_pd(geometry.reference);
    const __m256d n = _mm256_div_pd(r, reference);
    const __m256d cubic = _mm256_mul_pd(_mm256_mul_pd(_mm256_mul_pd(n, n), n), _mm256_set1_pd(geometry.coefficient));
    const __m256d moved = _mm256_mul_pd(reference, _mm256_add_pd(cubic, n));
    return {_mm256_mul_pd(_mm256_div_pd(a, r), moved), _mm256_mul_pd(_mm256_div_pd(dy, r), moved)};
}

// Columns cx + a (right) and cx - a (left) for a in [0, rightEnd) and [1, leftEnd),
// in blocks a .. a + 3 with a a multiple of four; the centre pixel, whose move has no
// direction, is left out.
struct ColumnBlocks {
    int first;      // the first a of a block on either side
    int rightEnd;   // the blocks' end on the right
    int leftEnd;    // and on the left
};

ColumnBlocks BlocksOf(int cx, int width, int dy)
{
    return {dy == 0 ? kLanes : 0, (width - cx) / kLanes * kLanes, (cx + 1) / kLanes * kLanes};
}

// Which quarter of the pair's pixels a pass writes: the columns right or left of the
// centre column, in the row above or below the centre row.
struct Side {
    int cx;
    int cy;
    bool right;
    bool above;
};

// One side of one row from the moves of its columns' blocks: a row below the centre
// row moves by -ty, and cy + (-ty) rounds as cy - ty; the left side by -tx likewise.
// A side at a time, because its points follow one curve through the source: taking
// the four sides of a block in turn measured a tenth slower, its reads spread over
// four curves.
void WriteSide(const PixelRows& source, const std::vector<ColumnMoves>& moves, const Side& side,
               const ColumnBlocks& blocks, uint32_t* row)
{
    // A copy the row's stores cannot alias, so that its sizes stay in registers.
    const PixelRows from = source;
    const __m256d centreX = _mm256_set1_pd(side.cx);
    const __m256d centreY = _mm256_set1_pd(side.cy);
    const int end = side.right ? blocks.rightEnd : blocks.leftEnd;
    auto move = moves.begin();
    for (int a = blocks.first; a + kLanes <= end; a += kLanes, ++move) {
        const __m256d sy = side.above ? _mm256_add_pd(centreY, move->ty) : _mm256_sub_pd(centreY, move->ty);
        if (side.right) {
            _mm_storeu_si128(reinterpret_cast<__m128i*>(row + side.cx + a),
                             Sampled(from, {_mm256_add_pd(centreX, move->tx), sy}));
        } else {
            // Lane i belongs to column cx - a - i: stored last lane first.
            const __m128i pixels = Sampled(from, {_mm256_sub_pd(centreX, move->tx), sy});
            _mm_storeu_si128(reinterpret_cast<__m128i*>(row + side.cx - a - 3), _mm_shuffle_epi32(pixels, 0x1B));
        }
    }
}

// What the blocks leave of one row: the centre and both ends.
void WriteRest(const PixelRows& source, const LensGeometry& geometry, int y, const ColumnBlocks& blocks, int width,
               uint32_t* row)
{
    const int cx = geometry.cx;
    const auto portable = [&](int from, int to) {
        if (from < to) LensRowPortable(source, geometry, y, from, to, row);
    };
    const int rightFrom = blocks.rightEnd > blocks.first ? blocks.first : 0;
    const int rightTo = blocks.rightEnd > blocks.first ? blocks.rightEnd : 0;
    const int leftFrom = blocks.leftEnd > blocks.first ? blocks.first : 1;
    const int leftTo = blocks.leftEnd > blocks.first ? blocks.leftEnd : 1;
    portable(0, cx - leftTo + 1);
    portable(cx - leftFrom + 1, cx + rightFrom);
    portable(cx + rightTo, width);
}

} // namespace

// Pictures whose byte offsets might not fit the gathers' 32-bit indexes take the
// portable loop, and so do the pixels no whole block covers.
void LensRowPairAvx2(const PixelRows& source, const LensGeometry& geometry, int dy, const PixelRows& target)
{
    const auto span = static_cast<long long>(source.stride) * (source.height + 1) + 4LL * (source.width + 1);
    if (source.stride < 0 || span > std::numeric_limits<int>::max()) {
        LensRowPairPortable(source, geometry, dy, target);
        return;
    }
    const int cy = geometry.cy;
    uint32_t* above = cy + dy < target.height ? target.Row(cy + dy) : nullptr;
    uint32_t* below = dy > 0 && cy - dy >= 0 ? target.Row(cy - dy) : nullptr;
    const ColumnBlocks blocks = BlocksOf(geometry.cx, target.width, dy);
    const __m256d distance = _mm256_set1_pd(dy);
    const __m256d steps = _mm256_set_pd(3.0, 2.0, 1.0, 0.0);
    const int end = std::max(blocks.rightEnd, blocks.leftEnd);
    std::vector<ColumnMoves> moves;
    // A row's moves are a few kilobytes; without them the portable loop writes the
    // same bytes, and no exception leaves the kernel.
    try {
        moves.reserve(static_cast<size_t>(std::max(0, end - blocks.first) / kLanes));
    } catch (const std::bad_alloc&) {
        LensRowPairPortable(source, geometry, dy, target);
        return;
    }
    for (int a = blocks.first; a < end; a += kLanes)
        moves.push_back(MovesAt(geometry, _mm256_add_pd(_mm256_set1_pd(a), steps), distance));
    for (const bool up : {true, false}) {
        uint32_t* row = up ? above : below;
        if (row == nullptr) continue;
        for (const bool right : {true, false}) WriteSide(source, moves, {geometry.cx, cy, right, up}, blocks, row);
    }
    if (above != nullptr) WriteRest(source, geometry, cy + dy, blocks, target.width, above);
    if (below != nullptr) WriteRest(source, geometry, cy - dy, blocks, target.width, below);
}
