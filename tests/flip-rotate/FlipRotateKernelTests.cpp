// Each variant of the flip and turn kernels against the plain mapping of pixel
// positions, on padded rows, aligned and unaligned destinations (the SSE2 turns only
// stream to aligned ones), 1 x 1, sizes that are no multiple of the four-pixel
// blocks, sizes that cross the SSE2 strips (16 columns) and bands (512 rows), and
// sizes drawn at random; the turns also in bands of rows on three threads.

#include "filters/flip-rotate/FlipRotateKernels.h"
#include "tests/shared/KernelVariants.h"

#include <gtest/gtest.h>

#include <random>
#include <utility>
#include <vector>

namespace {

// A whole-image kernel on rows of stride pixels; turns write a height x width image.
using Kernel = void (*)(const uint32_t* source, int sourceStride, uint32_t* destination, int destinationStride,
                        int width, int height);

struct KernelVariant : kernel_variants::Named {
    Kernel run;
    bool quarterTurn;
    bool clockWise;
};

const uint8_t* Bytes(const uint32_t* pixels)
{
    return reinterpret_cast<const uint8_t*>(pixels);
}

uint8_t* Bytes(uint32_t* pixels)
{
    return reinterpret_cast<uint8_t*>(pixels);
}

// The half turn as the filter runs it: each row reversed into its mirror row.
template <RowReverser kReverse>
void HalfTurn(const uint32_t* source, int sourceStride, uint32_t* destination, int destinationStride, int width,
              int height)
{
    for (int y = 0; y < height; ++y) {
        kReverse(source + static_cast<ptrdiff_t>(sourceStride) * y,
                 destination + static_cast<ptrdiff_t>(destinationStride) * (height - 1 - y), width);
    }
}

template <QuarterTurn kTurn>
void Turn(const uint32_t* source, int sourceStride, uint32_t* destination, int destinationStride, int width, int height)
{
    kTurn({const_cast<uint8_t*>(Bytes(source)), ptrdiff_t{4} * sourceStride, width, height},
          {Bytes(destination), ptrdiff_t{4} * destinationStride, height, width});
}

// The turn as the filters run it: bands of source rows on three threads.
template <QuarterTurn kTurn, bool kClockWise>
void TurnOnThreeThreads(const uint32_t* source, int sourceStride, uint32_t* destination, int destinationStride,
                        int width, int height)
{
    TurnInBands(kTurn, kClockWise, {const_cast<uint8_t*>(Bytes(source)), ptrdiff_t{4} * sourceStride, width, height},
                {Bytes(destination), ptrdiff_t{4} * destinationStride, height, width}, 3);
}

// Where source pixel (x, y) lands, by the mappings FlipRotateKernels.h states.
std::pair<int, int> Destination(const KernelVariant& kernel, int x, int y, int width, int height)
{
    if (!kernel.quarterTurn) return {width - 1 - x, height - 1 - y};
    return kernel.clockWise ? std::pair{y, width - 1 - x} : std::pair{height - 1 - y, x};
}

class FlipRotateKernelVariants : public KernelVariantTest<KernelVariant> {};

std::vector<std::pair<int, int>> Sizes()
{
    std::vector<std::pair<int, int>> sizes{{1, 1}, {1, 7}, {7, 1}, {4, 4}, {3, 5}, {16, 16}, {17, 33}, {65, 63},
                                           {130, 2}, {2, 130}, {9, 517}, {21, 516}};
    std::mt19937 random(2024);
    for (int i = 0; i < 12; ++i) sizes.emplace_back(1 + random() % 128, 1 + random() % 128);
    return sizes;
}

} // namespace

INSTANTIATE_TEST_SUITE_P(
    Each, FlipRotateKernelVariants,
    testing::Values(KernelVariant{{"Rotate180", ""}, &HalfTurn<&ReverseRowInto>, false, false},
                    KernelVariant{{"Rotate180Sse2", "SSE2"}, &HalfTurn<&ReverseRowIntoSse2>, false, false},
                    KernelVariant{{"ClockWise", ""}, &Turn<&Rotate90ClockWise>, true, true},
                    KernelVariant{{"ClockWiseSse2", "SSE2"}, &Turn<&Rotate90ClockWiseSse2>, true, true},
                    KernelVariant{{"CounterClockWise", ""}, &Turn<&Rotate90CounterClockWise>, true, false},
                    KernelVariant{{"CounterClockWiseSse2", "SSE2"}, &Turn<&Rotate90CounterClockWiseSse2>, true, false},
                    KernelVariant{{"ClockWiseInBands", ""}, &TurnOnThreeThreads<&Rotate90ClockWise, true>, true, true},
                    KernelVariant{{"CounterClockWiseSse2InBands", "SSE2"},
                                  &TurnOnThreeThreads<&Rotate90CounterClockWiseSse2, false>, true, false}),
    NameOfVariant());

TEST_P(FlipRotateKernelVariants, MoveEveryPixelWhereTheMappingSaysAndNothingElse)
{
    constexpr uint32_t kPadding = 0xDEADBEEF;
    const KernelVariant& kernel = GetParam();
    for (const auto& [width, height] : Sizes()) {
        // slack: extra pixels per row; offset: pixels the destination starts after a
        // 16-byte boundary.
        for (const auto& [slack, offset] : {std::pair{0, 0}, {3, 1}, {4, 0}, {1, 2}}) {
            const int sourceStride = width + slack;
            const int outWidth = kernel.quarterTurn ? height : width;
            const int outHeight = kernel.quarterTurn ? width : height;
            const int outStride = outWidth + slack;
            std::vector<uint32_t> source(static_cast<size_t>(sourceStride) * height);
            for (size_t i = 0; i < source.size(); ++i) source[i] = static_cast<uint32_t>(i * 2654435761u);
            std::vector<uint32_t> storage(static_cast<size_t>(outStride) * outHeight + 8, kPadding);
            auto* out = reinterpret_cast<uint32_t*>(
                (reinterpret_cast<uintptr_t>(storage.data()) + 15) / 16 * 16 + static_cast<uintptr_t>(offset) * 4);
            kernel.run(source.data(), sourceStride, out, outStride, width, height);

            std::vector<uint32_t> expected(static_cast<size_t>(outStride) * outHeight, kPadding);
            for (int y = 0; y < height; ++y) {
                for (int x = 0; x < width; ++x) {
                    const auto [toX, toY] = Destination(kernel, x, y, width, height);
                    expected[static_cast<size_t>(toY) * outStride + toX] =
                        source[static_cast<size_t>(y) * sourceStride + x];
                }
            }
            ASSERT_TRUE(std::equal(expected.begin(), expected.end(), out))
                << width << "x" << height << " slack " << slack << " offset " << offset;
        }
    }
}

// The row and line kernels the flips call, in place, at widths up to a few vectors.
TEST(FlipKernels, MirrorRowAndSwapLines)
{
    for (int width = 1; width <= 37; ++width) {
        std::vector<uint32_t> row(static_cast<size_t>(width) + 1, 7u);
        for (int x = 0; x < width; ++x) row[static_cast<size_t>(x)] = static_cast<uint32_t>(x * 0x01010101u + 1);
        const std::vector<uint32_t> original = row;
        MirrorRow(row.data(), width);
        for (int x = 0; x < width; ++x) {
            ASSERT_EQ(row[static_cast<size_t>(x)], original[static_cast<size_t>(width - 1 - x)]);
        }
        ASSERT_EQ(row.back(), 7u) << "wrote past the row";

        std::vector<uint8_t> first(static_cast<size_t>(width) * 4, 1);
        std::vector<uint8_t> second(static_cast<size_t>(width) * 4, 2);
        std::vector<uint8_t> buffer(first.size() + 1, 9);
        SwapLines(first.data(), second.data(), buffer.data(), first.size());
        ASSERT_EQ(first, std::vector<uint8_t>(first.size(), 2));
        ASSERT_EQ(second, std::vector<uint8_t>(second.size(), 1));
    }
}
