#pragma once
// The bilinear interior span written once over an integer vector policy
// (filters/shared/vectors/IntegerVectors.h) extended by the few operations it needs
// more; RotateKernelSse2.cpp and RotateKernelAvx2.cpp give those at their widths.
// Four source points per 128-bit lane of coordinates. The policy loads, for every
// point, its two neighbours in the row (x0, x0 + 1) side by side as 64 bits, and the
// two in the next row the same way, two points to a 128-bit half. Each point's pair is
// then spread channel by channel into 16-bit words and multiplied pairwise by its own
// weight pair, so the 32-bit sums are the portable loop's, added in the same integers.
// Internal linkage, for the reason IntegerVectors.h gives.

#include "filters/rotate/RotateKernel.h"
#include "filters/shared/vectors/IntegerVectors.h"

#include <cstddef>

namespace {

// The policy P adds to its integer vectors:
//   Sub32, ShiftLeft32, Or;
//   LoadPairs(source, x0, y0, rows, nexts): for the points whose integer positions are
//     x0, y0, rows[j] holds in its half h the row pairs of points 2j + 4h and
//     2j + 4h + 1 (bytes 0-7 and 8-15), nexts[j] the next row's pairs the same way;
//   Spread<kSecond>(v): per half, the pair in bytes 0-7 (or 8-15 when kSecond) as
//     16-bit words b0 b1 g0 g1 r0 r1 a0 a1, ready for a multiply-add with (w0, w1).
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

    // The four rounded weights from the fractions alone. With p = fx fy, the products
    // of the portable loop round as
    //   (fx fy + 512) >> 10             = w11
    //   (fx (1024 - fy) + 512) >> 10    = fx - ((p + 511) >> 10)
    //   ((1024 - fx) fy + 512) >> 10    = fy - ((p + 511) >> 10)
    //   ((1024 - fx)(1024 - fy) + 512) >> 10 = 1024 - fx - fy + w11
    // since the parts that are whole multiples of 1024 pass the shift unchanged.
    static Weights WeightsOf(Vector xs, Vector ys)
    {
        const Vector mask = P::Set1(kFixedPointOne - 1);
        const Vector fx = P::And(xs, mask);
        const Vector fy = P::And(ys, mask);
        // Both fractions are below 2^10 and their upper words zero, so the multiply-add
        // gives the plain 32-bit product.
        const Vector product = P::MulAdd16(fx, fy);
        const Vector w11 = P::ShiftRight32(P::Add32(product, P::Set1(kFixedPointOne / 2)), kFixedPointBits);
        const Vector below = P::ShiftRight32(P::Add32(product, P::Set1(kFixedPointOne / 2 - 1)), kFixedPointBits);
        const Vector w10 = P::Sub32(fx, below);
        const Vector w01 = P::Sub32(fy, below);
        const Vector w00 = P::Add32(P::Sub32(P::Sub32(P::Set1(kFixedPointOne), fx), fy), w11);
        return {P::Or(w00, P::ShiftLeft32(w10, 16)), P::Or(w01, P::ShiftLeft32(w11, 16))};
    }

    // Output pixels kPoint and kPoint + 4 (AVX2's upper half) as 32-bit sums per byte.
    template <int kPoint>
    static Vector SumsOf(const Vector (&rows)[2], const Vector (&nexts)[2], const Weights& weights)
    {
        constexpr int kVector = kPoint / 2;
        constexpr bool kSecond = kPoint % 2 != 0;
        constexpr int kBroadcast = kPoint * 0x55;
        return P::Add32(
            P::MulAdd16(P::template Spread<kSecond>(rows[kVector]), P::template Shuffle32<kBroadcast>(weights.row)),
            P::MulAdd16(P::template Spread<kSecond>(nexts[kVector]),
                        P::template Shuffle32<kBroadcast>(weights.nextRow)));
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
            Vector rows[2];
            Vector nexts[2];
            P::LoadPairs(source, P::ShiftRight32(x, kFixedPointBits), P::ShiftRight32(y, kFixedPointBits), rows,
                         nexts);
            const Vector sums[4] = {SumsOf<0>(rows, nexts, weights), SumsOf<1>(rows, nexts, weights),
                                    SumsOf<2>(rows, nexts, weights), SumsOf<3>(rows, nexts, weights)};
            P::Store(reinterpret_cast<uint8_t*>(out + done), ShiftedToBytes<P>(sums, kFixedPointBits));
            x = P::Add32(x, stepX);
            y = P::Add32(y, stepY);
        }
        BilinearInteriorSpan(source, {start.x + done * step.x, start.y + done * step.y}, step, count - done,
                             out + done);
    }
};

} // namespace
