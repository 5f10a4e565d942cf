// The free rotation's pixel loops against a plain reference written here from the
// rules (each row's start in double truncated toward zero, the steps, the rounded
// weights, the background for neighbours outside), hand-worked blends at the border,
// the stop, and every vector variant against the portable loop.

#include "tests/KernelPicture.h"
#include "tests/shared/KernelVariants.h"

#include "filters/rotate/RotateKernel.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <random>
#include <utility>
#include <vector>

namespace {

constexpr uint32_t kBackground = 0x00FF0000u;  // red as stored: bytes 0, 0, 255, 0
constexpr uint32_t kUntouched = 0xDEADBEEFu;

double Radians(double degrees)
{
    return degrees / 360 * 2 * std::numbers::pi;
}

// Pixels on rows of a stride two pixels longer than the width, so that a loop that
// runs past its row shows.
struct Picture : KernelPicture {
    Picture(int w, int h, uint32_t fill = kUntouched) : KernelPicture(w, h, fill, 2) {}
    Picture(KernelPicture picture) : KernelPicture(std::move(picture)) {}
};

Picture RandomPicture(int width, int height, unsigned seed)
{
    return KernelPicture::Random(width, height, seed, kUntouched, 2);
}

// --- The reference: one output pixel at a time, straight from the rules. ---

uint32_t SourceOrBackground(const Picture& source, long x, long y)
{
    const bool inside = x >= 0 && x < source.width && y >= 0 && y < source.height;
    return inside ? source.At(static_cast<int>(x), static_cast<int>(y)) : kBackground;
}

long FloorOf1024ths(long value)
{
    return static_cast<long>(std::floor(value / 1024.0));
}

uint32_t ReferencePixel(const Picture& source, const RotationLayout& layout, double theta, RotationSampling sampling,
                        int x, int y)
{
    const double k = layout.scale;
    const long stepX = static_cast<long>(1024 * k * std::cos(-theta));
    const long stepY = static_cast<long>(1024 * k * std::sin(-theta));
    const double ox = layout.originX;
    const double oy = layout.originY;
    const long sx = static_cast<long>(k * (ox * std::cos(theta) + (y + oy) * std::sin(theta)) * 1024) + x * stepX;
    const long sy = static_cast<long>(k * (-ox * std::sin(theta) + (y + oy) * std::cos(theta)) * 1024) + x * stepY;
    if (sampling == RotationSampling::Nearest) {
        return SourceOrBackground(source, FloorOf1024ths(sx + 512), FloorOf1024ths(sy + 512));
    }
    const long x0 = FloorOf1024ths(sx);
    const long y0 = FloorOf1024ths(sy);
    const long fx = sx - x0 * 1024;
    const long fy = sy - y0 * 1024;
    const long weights[4] = {((1024 - fx) * (1024 - fy) + 512) / 1024, (fx * (1024 - fy) + 512) / 1024,
                             ((1024 - fx) * fy + 512) / 1024, (fx * fy + 512) / 1024};
    const uint32_t neighbours[4] = {SourceOrBackground(source, x0, y0), SourceOrBackground(source, x0 + 1, y0),
                                    SourceOrBackground(source, x0, y0 + 1),
                                    SourceOrBackground(source, x0 + 1, y0 + 1)};
    uint32_t pixel = 0;
    for (int byte = 0; byte < 4; ++byte) {
        long sum = 0;
        for (int i = 0; i < 4; ++i) sum += weights[i] * ((neighbours[i] >> (8 * byte)) & 0xFF);
        pixel |= static_cast<uint32_t>(std::min(sum / 1024, 255L)) << (8 * byte);
    }
    return pixel;
}

RotationLayout Planned(int width, int height, double theta, int cropType, RotationSampling sampling)
{
    const std::optional<RotationLayout> layout = PlanRotation(width, height, theta, cropType, sampling);
    EXPECT_TRUE(layout.has_value());
    return layout.value_or(RotationLayout{});
}

// A layout drawn by hand: no turn, k = 1, the output's first pixel at (left, top).
RotationLayout Shifted(int width, int height, double left, double top)
{
    RotationLayout layout;
    layout.width = width;
    layout.height = height;
    layout.originX = left;
    layout.originY = top;
    return layout;
}

} // namespace

TEST(RotateKernel, EveryPixelFollowsTheFixedPointMapping)
{
    const Picture source = RandomPicture(57, 41, 7);
    for (const double degrees : {10.0, -33.3, 135.7, 0.02, 359.0}) {
        const double theta = Radians(degrees);
        for (const int crop : {kRotationKeepWhole, kRotationCropInside, kRotationCropKeepSize}) {
            for (const RotationSampling sampling : {RotationSampling::Bilinear, RotationSampling::Nearest}) {
                const RotationLayout layout = Planned(source.width, source.height, theta, crop, sampling);
                Picture portable(layout.width, layout.height);
                Picture chosen(layout.width, layout.height);
                Picture input = source;
                if (sampling == RotationSampling::Bilinear) {
                    ASSERT_TRUE(RotateBilinear(input.Rows(), portable.Rows(), layout, kBackground,
                                               &BilinearInteriorSpan, {}));
                } else {
                    ASSERT_TRUE(RotatePixels(input.Rows(), portable.Rows(), layout, kBackground, sampling, {}));
                }
                ASSERT_TRUE(RotatePixels(input.Rows(), chosen.Rows(), layout, kBackground, sampling, {}));
                for (int y = 0; y < layout.height; ++y) {
                    for (int x = 0; x < layout.width; ++x) {
                        const uint32_t expected = ReferencePixel(source, layout, theta, sampling, x, y);
                        ASSERT_EQ(portable.At(x, y), expected) << degrees << " degrees, crop " << crop << ", "
                                                               << static_cast<int>(sampling) << " at " << x << ","
                                                               << y;
                        ASSERT_EQ(chosen.At(x, y), expected) << degrees << " degrees, crop " << crop;
                    }
                    ASSERT_EQ(portable.At(layout.width, y), kUntouched) << "wrote past the row";
                }
                EXPECT_EQ(input.pixels, source.pixels) << "the source was written";
            }
        }
    }
}

// A neighbour outside the source weighs in as the background pixel. The output starts
// half a pixel left of the source: row 0's start is trunc(-1.5 x 1024) = -1536, so
// pixel 1 lies at -512, halfway between the background at x = -1 and p(0, 0), each
// weighing (512 x 1024 + 512) >> 10 = 512; the next row up has weight 0.
TEST(RotateKernel, NeighboursOutsideBlendWithTheBackground)
{
    Picture source(3, 2);
    const uint32_t row0[] = {0x10305070u, 0x90B0D0F0u, 0x02040608u};
    for (int x = 0; x < 3; ++x) {
        source.At(x, 0) = row0[x];
        source.At(x, 1) = 0xFFFFFFFFu;
    }
    const RotationLayout halfLeft = Shifted(5, 1, -1.5, 0);
    Picture out(5, 1);
    ASSERT_TRUE(RotatePixels(source.Rows(), out.Rows(), halfLeft, kBackground, RotationSampling::Bilinear, {}));
    // Per byte (512 a + 512 b) >> 10 = (a + b) >> 1.
    EXPECT_EQ(out.At(0, 0), kBackground);
    EXPECT_EQ(out.At(1, 0), 0x08972838u);  // background 00 FF 00 00 with 10 30 50 70
    EXPECT_EQ(out.At(2, 0), 0x507090B0u);  // 10 30 50 70 with 90 B0 D0 F0
    EXPECT_EQ(out.At(3, 0), 0x495A6B7Cu);  // 90 B0 D0 F0 with 02 04 06 08
    EXPECT_EQ(out.At(4, 0), 0x01810304u);  // 02 04 06 08 with the background

    // A quarter pixel below the source: trunc(-0.25 x 1024) = -256, so y0 = -1 with
    // fy = 768; the background row weighs (1024 x 256 + 512) >> 10 = 256, row 0 768.
    const RotationLayout quarterDown = Shifted(1, 1, 0, -0.25);
    ASSERT_TRUE(RotatePixels(source.Rows(), out.Rows(), quarterDown, kBackground, RotationSampling::Bilinear, {}));
    // Blue 0x70: (768 x 112) >> 10 = 84; green 0x50: 60; red 0x30 over the
    // background's 255: (256 x 255 + 768 x 48) >> 10 = 99; fourth byte 0x10: 12.
    EXPECT_EQ(out.At(0, 0), 0x0C633C54u);

    // The nearest pixel of -1536 is (-1536 + 512) >> 10 = -1, outside; of -512, 0; of
    // 1536, 2; of 2560, 3, outside again.
    ASSERT_TRUE(RotatePixels(source.Rows(), out.Rows(), halfLeft, kBackground, RotationSampling::Nearest, {}));
    EXPECT_EQ(out.At(0, 0), kBackground);
    EXPECT_EQ(out.At(1, 0), row0[0]);
    EXPECT_EQ(out.At(3, 0), row0[2]);
    EXPECT_EQ(out.At(4, 0), kBackground);
}

TEST(RotateKernel, ReportsEveryRowFirstAndStopsWhenToldTo)
{
    Picture source = RandomPicture(20, 15, 3);
    const RotationLayout layout = Planned(20, 15, Radians(30), kRotationKeepWhole, RotationSampling::Bilinear);
    for (const RotationSampling sampling : {RotationSampling::Bilinear, RotationSampling::Nearest}) {
        std::vector<std::pair<int, int>> calls;
        Picture out(layout.width, layout.height);
        const UnitReport everyRow = [&](int done, int total) {
            // The row reported is not written yet.
            EXPECT_EQ(out.At(0, done), kUntouched);
            calls.emplace_back(done, total);
            return true;
        };
        ASSERT_TRUE(RotatePixels(source.Rows(), out.Rows(), layout, kBackground, sampling, everyRow));
        ASSERT_EQ(calls.size(), static_cast<size_t>(layout.height));
        for (int y = 0; y < layout.height; ++y) EXPECT_EQ(calls[static_cast<size_t>(y)], std::make_pair(y, layout.height));

        Picture stopped(layout.width, layout.height);
        int reports = 0;
        const UnitReport stopAtRow3 = [&](int done, int) {
            ++reports;
            return done < 3;
        };
        EXPECT_FALSE(RotatePixels(source.Rows(), stopped.Rows(), layout, kBackground, sampling, stopAtRow3));
        EXPECT_EQ(reports, 4);
        EXPECT_NE(stopped.At(0, 2), kUntouched);
        for (int y = 3; y < layout.height; ++y) {
            for (int x = 0; x < layout.width; ++x) ASSERT_EQ(stopped.At(x, y), kUntouched) << x << "," << y;
        }
    }
}

namespace {

struct SpanVariant : kernel_variants::Named {
    InteriorSpan run;
};

class RotateKernelVariants : public KernelVariantTest<SpanVariant> {};

} // namespace

INSTANTIATE_TEST_SUITE_P(Each, RotateKernelVariants,
                         testing::Values(SpanVariant{{"Sse2", "SSE2"}, &BilinearInteriorSpanSse2},
                                         SpanVariant{{"Avx2", "AVX2"}, &BilinearInteriorSpanAvx2}),
                         NameOfVariant());

// Whole rotations on sizes from one pixel up, odd and random, at many angles and all
// crop types: every row's interior goes through the variant, its ends through the
// checked loop.
TEST_P(RotateKernelVariants, GivesThePortableBitsOnWholeRotations)
{
    std::mt19937 random(11);
    std::vector<std::pair<int, int>> sizes{{1, 1}, {2, 2}, {1, 9}, {9, 1}, {3, 2}, {57, 41}, {64, 48}, {17, 130}};
    for (int i = 0; i < 8; ++i) sizes.emplace_back(1 + random() % 90, 1 + random() % 90);
    for (const auto& [width, height] : sizes) {
        Picture source = RandomPicture(width, height, random());
        for (const double degrees : {0.5, 10.0, 45.0, 89.9, 135.7, 200.0, -33.3, -91.0, 360.0}) {
            for (const int crop : {kRotationKeepWhole, kRotationCropInside, kRotationCropKeepSize}) {
                const std::optional<RotationLayout> layout =
                    PlanRotation(width, height, Radians(degrees), crop, RotationSampling::Bilinear);
                if (!layout) continue;
                Picture expected(layout->width, layout->height);
                Picture actual(layout->width, layout->height);
                ASSERT_TRUE(RotateBilinear(source.Rows(), expected.Rows(), *layout, kBackground,
                                           &BilinearInteriorSpan, {}));
                ASSERT_TRUE(
                    RotateBilinear(source.Rows(), actual.Rows(), *layout, kBackground, GetParam().run, {}));
                ASSERT_EQ(actual.pixels, expected.pixels)
                    << width << "x" << height << " at " << degrees << " crop " << crop;
            }
        }
    }
}

// A large picture turned by 45 degrees keeps corners of background wider than the
// strip the vector loops read the background from, so they take it in several parts.
TEST_P(RotateKernelVariants, GivesThePortableBitsOnWideBackgroundCorners)
{
    Picture source = RandomPicture(600, 600, 17);
    const std::optional<RotationLayout> layout =
        PlanRotation(600, 600, Radians(45.0), kRotationKeepWhole, RotationSampling::Bilinear);
    ASSERT_TRUE(layout.has_value());
    ASSERT_GT(layout->width, 2 * 256 + 600 / 2) << "the corners must be wider than the strip";
    Picture expected(layout->width, layout->height);
    Picture actual(layout->width, layout->height);
    ASSERT_TRUE(RotateBilinear(source.Rows(), expected.Rows(), *layout, kBackground, &BilinearInteriorSpan, {}));
    ASSERT_TRUE(RotateBilinear(source.Rows(), actual.Rows(), *layout, kBackground, GetParam().run, {}));
    EXPECT_EQ(actual.pixels, expected.pixels);
    EXPECT_EQ(actual.At(0, 0), kBackground);
}

// The span alone, from every count up to a few vector steps, so each tail length
// and each lane is seen; points walk in all four directions, whole and fractional.
TEST_P(RotateKernelVariants, GivesThePortableBitsOnEverySpanLength)
{
    Picture source = RandomPicture(80, 80, 5);
    const FixedPoint steps[] = {{1024, 0}, {0, 1024}, {1008, -178}, {-724, 724}, {-37, -1021}, {300, 200}};
    for (const FixedPoint step : steps) {
        for (int count = 0; count <= 35; ++count) {
            // Start in the middle so that count steps either way stay inside.
            const FixedPoint start{40 * 1024 + 123, 40 * 1024 + 1000};
            std::vector<uint32_t> expected(static_cast<size_t>(count) + 1, kUntouched);
            std::vector<uint32_t> actual(expected);
            BilinearInteriorSpan(source.Rows(), start, step, count, expected.data());
            GetParam().run(source.Rows(), start, step, count, actual.data());
            ASSERT_EQ(actual, expected) << "step " << step.x << "," << step.y << " count " << count;
        }
    }
}
