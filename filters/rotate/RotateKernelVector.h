#pragma once
// The bilinear interior span written once over an integer vector policy
// (filters/shared/vectors/IntegerVectors.h) extended by the few operations it needs
// more; RotateKernelSse2.cpp and RotateKernelAvx2.cpp give those at their widths.
// Four source points per 128-bit lane of coordinates, one output pixel per 128-bit
// half of the pixel vectors: each half holds its pixel's four neighbours, is spread
// channel by channel into 16-bit pairs and multiplied pairwise by its own weight
// pairs, so the 32-bit sums are the portable loop's, added in the same integers.
// Internal linkage, for the reason IntegerVectors.h gives.

#include "filters/rotate/RotateKernel.h"
#include "filters/shared/vectors/IntegerVectors.h"

#include <cstddef>

namespace {

// The policy P adds to its integer vectors:
//   Sub32, ShiftLeft32;
//   Neighbours(const uint32_t* const (&row)[kHalves], const uint32_t* const (&next)[kHalves]):
//     half h holds row[h][0], row[h][1], next[h][0], next[h][1];
//   RowPairs(v), NextRowPairs(v): per half, the first two (last two) of those pixels
//     as 16-bit words b0 b1 g0 g1 r0 r1 a0 a1.
template <class P>
struct BilinearSpanVector {
    using Vector = typename P::Vector;
    // Source points per 32-bit lane group: the four lanes of each half of the
    // coordinate vectors.
    static constexpr int kPointsPerHalf = 4;
    static constexpr int kPoints = kPointsPerHalf * P::kHalves;

    // The weights of kPoints points as two packed pairs per lane: (w00, w10) for the
    // point's own row and (w01, w11) for the next one.
    struct Weights {
        Vector row;
        Vector nextRow;
    };

    static Vector Rounded(Vector first, Vector second)
    {
        // Both factors are below 2^16 and their upper words zero, so the multiply-add
        // gives the plain 32-bit product.
        return P::ShiftRight32(P::Add32(P::MulAdd16(first, second), P::Set1(kFixedPointOne / 2)), kFixedPointBits);
    }

    static Vector Packed(Vector low, Vector high) { return P::Add32(low, P::ShiftLeft32(high, 16)); }

    static Weights WeightsOf(Vector xs, Vector ys)
    {
        const Vector mask = P::Set1(kFixedPointOne - 1);
        const Vector fx = P::And(xs, mask);
        const Vector fy = P::And(ys, mask);
        const Vector gx = P::Sub32(P::Set1(kFixedPointOne), fx);
        const Vector gy = P::Sub32(P::Set1(kFixedPointOne), fy);
        return {Packed(Rounded(gx, gy), Rounded(fx, gy)), Packed(Rounded(gx, fy), Rounded(fx, fy))};
    }

    // The output pixels point and point + 4 (AVX2's upper half) as 32-bit sums per byte.
    template <int kPoint>
    static Vector SumsOf(const PixelRows& source, const int32_t* xs, const int32_t* ys, const Weights& weights)
    {
        const uint32_t* row[P::kHalves];
        const uint32_t* next[P::kHalves];
        for (int h = 0; h < P::kHalves; ++h) {
            const int point = kPoint + kPointsPerHalf * h;
            row[h] = source.Row(ys[point]) + xs[point];
            next[h] = source.Row(ys[point] + 1) + xs[point];
        }
        const Vector neighbours = P::Neighbours(row, next);
        constexpr int kBroadcast = kPoint * 0x55;
        return P::Add32(P::MulAdd16(P::RowPairs(neighbours), P::template Shuffle32<kBroadcast>(weights.row)),
                        P::MulAdd16(P::NextRowPairs(neighbours), P::template Shuffle32<kBroadcast>(weights.nextRow)));
    }

    static void Run(const PixelRows& source, FixedPoint start, FixedPoint step, int count, uint32_t* out)
    {
        alignas(32) int32_t xs[kPoints];
        alignas(32) int32_t ys[kPoints];
        for (int i = 0; i < kPoints; ++i) {
            xs[i] = start.x + i * step.x;
            ys[i] = start.y + i * step.y;
        }
        Vector x = P::Load(reinterpret_cast<const uint8_t*>(xs));
        Vector y = P::Load(reinterpret_cast<const uint8_t*>(ys));
        const Vector stepX = P::Set1(kPoints * step.x);
        const Vector stepY = P::Set1(kPoints * step.y);
        int done = 0;
        for (; done + kPoints <= count; done += kPoints) {
            const Weights weights = WeightsOf(x, y);
            P::Store(reinterpret_cast<uint8_t*>(xs), P::ShiftRight32(x, kFixedPointBits));
            P::Store(reinterpret_cast<uint8_t*>(ys), P::ShiftRight32(y, kFixedPointBits));
            const Vector sums[4] = {SumsOf<0>(source, xs, ys, weights), SumsOf<1>(source, xs, ys, weights),
                                    SumsOf<2>(source, xs, ys, weights), SumsOf<3>(source, xs, ys, weights)};
            P::Store(reinterpret_cast<uint8_t*>(out + done), ShiftedToBytes<P>(sums, kFixedPointBits));
            x = P::Add32(x, stepX);
            y = P::Add32(y, stepY);
        }
        BilinearInteriorSpan(source, {start.x + done * step.x, start.y + done * step.y}, step, count - done,
                             out + done);
    }
};

} // namespace
