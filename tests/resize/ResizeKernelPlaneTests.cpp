// The plane resampler against the rules written out plainly: every tap reads the
// source with its index clamped into the plane, a vertical pass rounded to bytes,
// then a horizontal pass; no bands, no buffers, no vector code.

#include "filters/resize/ResizeKernelPlane.h"
#include "filters/shared/pixels/KernelBridge.h"
#include "refhost/RecordingProgress.h"
#include "tests/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

namespace {

constexpr uint8_t kUntouched = 0xA5;

// Rows at a stride wider than the pixels, so that a write past a row shows.
struct Plane {
    Plane(uint32_t width, uint32_t height, int bitsPerPixel, uint8_t fill = kUntouched)
        : width(width),
          height(height),
          bytesPerPixel(static_cast<uint32_t>(bitsPerPixel / 8)),
          stride(width * bytesPerPixel + 5),
          bytes(static_cast<size_t>(stride) * height, fill)
    {
    }

    uint8_t* Row(uint32_t y) { return bytes.data() + static_cast<size_t>(y) * stride; }
    const uint8_t* Row(uint32_t y) const { return bytes.data() + static_cast<size_t>(y) * stride; }
    uint8_t& At(uint32_t x, uint32_t y, uint32_t channel = 0) { return Row(y)[x * bytesPerPixel + channel]; }
    size_t RowBytes() const { return static_cast<size_t>(width) * bytesPerPixel; }

    uint32_t width;
    uint32_t height;
    uint32_t bytesPerPixel;
    uint32_t stride;
    std::vector<uint8_t> bytes;
};

Plane RandomPlane(uint32_t width, uint32_t height, int bitsPerPixel, std::mt19937& random)
{
    Plane plane(width, height, bitsPerPixel);
    std::uniform_int_distribution<int> byte(0, 255);
    for (uint32_t y = 0; y < height; ++y) {
        for (size_t b = 0; b < plane.RowBytes(); ++b) plane.Row(y)[b] = static_cast<uint8_t>(byte(random));
    }
    return plane;
}

uint8_t Rounded(int sum)
{
    return static_cast<uint8_t>(std::clamp((sum + 64) >> 7, 0, 255));
}

int Clamped(int64_t index, uint32_t size)
{
    return static_cast<int>(std::clamp<int64_t>(index, 0, static_cast<int64_t>(size) - 1));
}

// Sample k of a direction of size `size` resampled from `from`: the taps as source
// indices (clamped) and the weight row.
struct Sample {
    std::vector<int> indices;
    const int16_t* weights;
};

Sample SampleOf(uint32_t k, uint32_t from, uint32_t size, const CResizeWeights& table)
{
    const uint64_t numerator = from - 1;
    const uint64_t denominator = size - 1;
    const int64_t whole = static_cast<int64_t>(k * numerator / denominator);
    const auto phase = static_cast<uint32_t>(k * numerator % denominator);
    Sample sample{{}, table.Row(phase)};
    const int half = table.Taps() / 2;
    for (int t = 0; t < table.Taps(); ++t) sample.indices.push_back(Clamped(whole + t - (half - 1), from));
    return sample;
}

Plane ReferenceResize(const Plane& source, uint32_t width, uint32_t height, ResizeKernel kernel, int radius)
{
    const int bitsPerPixel = static_cast<int>(source.bytesPerPixel * 8);
    Plane result(width, height, bitsPerPixel);
    if (width == source.width && height == source.height) {
        for (uint32_t y = 0; y < height; ++y) std::copy_n(source.Row(y), source.RowBytes(), result.Row(y));
        return result;
    }
    CResizeWeights across;
    CResizeWeights down;
    EXPECT_TRUE(across.Build(source.width, width, kernel, radius));
    EXPECT_TRUE(down.Build(source.height, height, kernel, radius));
    std::vector<uint8_t> line(source.RowBytes());
    for (uint32_t y = 0; y < height; ++y) {
        const Sample rows = SampleOf(y, source.height, height, down);
        for (size_t b = 0; b < line.size(); ++b) {
            int sum = 0;
            for (size_t t = 0; t < rows.indices.size(); ++t) {
                sum += rows.weights[t] * source.Row(static_cast<uint32_t>(rows.indices[t]))[b];
            }
            line[b] = Rounded(sum);
        }
        for (uint32_t x = 0; x < width; ++x) {
            const Sample columns = SampleOf(x, source.width, width, across);
            for (uint32_t c = 0; c < source.bytesPerPixel; ++c) {
                int sum = 0;
                for (size_t t = 0; t < columns.indices.size(); ++t) {
                    sum +=
                        columns.weights[t] * line[static_cast<size_t>(columns.indices[t]) * source.bytesPerPixel + c];
                }
                result.At(x, y, c) = Rounded(sum);
            }
        }
    }
    return result;
}

bool Resize(const Plane& source, Plane& destination, ResizeKernel kernel, int radius, IProgress* progress = nullptr,
            int threads = 1)
{
    CPlaneResizer resizer;
    EXPECT_TRUE(resizer.Init(source.width, source.height, destination.width, destination.height, source.stride,
                             destination.stride, kernel, radius, static_cast<int>(source.bytesPerPixel * 8)));
    return resizer.Run(destination.bytes.data(), source.bytes.data(), ReportTo(progress), threads);
}

struct KernelCase {
    const char* name;
    ResizeKernel kernel;
    int radius;
};

constexpr KernelCase kKernels[] = {{"triangle", &TriangleKernel, 1},
                                   {"Mitchell-Netravali", &MitchellNetravaliKernel, 2},
                                   {"Lanczos", &LanczosKernel, 3}};

// The band sizes as the rules define them, for the vertical direction.
struct BandSizes {
    uint32_t top;
    uint32_t middle;
    uint32_t bottom;
};

BandSizes BandsOf(uint32_t sourceHeight, uint32_t height, ResizeKernel kernel, int radius)
{
    CResizeWeights down;
    EXPECT_TRUE(down.Build(sourceHeight, height, kernel, radius));
    const uint32_t reach = static_cast<uint32_t>(down.Taps() / 2 - 1);
    const uint32_t n = sourceHeight - 1;
    const uint32_t d = height - 1;
    const uint32_t top = reach == 0 ? 0 : (d * reach - 1) / n + 1;
    const uint32_t bottom = reach * d / n + 1;
    return {top, height - top - bottom, bottom};
}

}  // namespace

// Random sizes, some keeping one direction so that phase 0 runs alone there, and
// strong reductions and enlargements in either direction.
TEST(PlaneResizer, MatchesThePlainRules)
{
    std::mt19937 random(5150);
    std::uniform_int_distribution<uint32_t> size(8, 48);
    struct Sizes {
        uint32_t sourceWidth, sourceHeight, width, height;
    };
    std::vector<Sizes> cases = {{400, 30, 10, 8}, {30, 400, 8, 10}, {9, 8, 300, 40}, {8, 9, 40, 300}, {9, 9, 8, 8}};
    for (int round = 0; round < 90; ++round) {
        const uint32_t sourceWidth = size(random);
        const uint32_t sourceHeight = size(random);
        cases.push_back({sourceWidth, sourceHeight, round % 7 == 0 ? sourceWidth : size(random),
                         round % 5 == 0 ? sourceHeight : size(random)});
    }
    for (size_t i = 0; i < cases.size(); ++i) {
        const Sizes& sizes = cases[i];
        const KernelCase& kernel = kKernels[i % 3];
        const int bitsPerPixel = i % 2 == 0 ? 32 : 8;
        const Plane source = RandomPlane(sizes.sourceWidth, sizes.sourceHeight, bitsPerPixel, random);
        const Plane expected = ReferenceResize(source, sizes.width, sizes.height, kernel.kernel, kernel.radius);
        // Every row's source position worked out afresh where a thread's band begins.
        for (const int threads : {1, 3}) {
            Plane destination(sizes.width, sizes.height, bitsPerPixel);
            ASSERT_TRUE(Resize(source, destination, kernel.kernel, kernel.radius, nullptr, threads));
            ASSERT_EQ(destination.bytes, expected.bytes)
                << kernel.name << ", " << bitsPerPixel << " bits, " << sizes.sourceWidth << "x" << sizes.sourceHeight
                << " to " << sizes.width << "x" << sizes.height << ", " << threads << " threads";
        }
    }
}

TEST(PlaneResizer, EqualSizeIsAByteCopyWhateverTheKernel)
{
    std::mt19937 random(3);
    const Plane source = RandomPlane(13, 9, 32, random);
    for (const KernelCase& kernel : kKernels) {
        Plane destination(13, 9, 32);
        ASSERT_TRUE(Resize(source, destination, kernel.kernel, kernel.radius));
        for (uint32_t y = 0; y < 9; ++y) {
            ASSERT_TRUE(std::equal(source.Row(y), source.Row(y) + source.RowBytes(), destination.Row(y)))
                << kernel.name << " row " << y;
            EXPECT_EQ(destination.Row(y)[source.RowBytes()], kUntouched) << "past the row";
        }
    }
}

// Every row of the source the same: the vertical pass gives that row back (each
// weight row sums to 128), so the result shows what the horizontal pass does alone.
TEST(PlaneResizer, AKeptDirectionIsUnchangedExceptByMitchellNetravali)
{
    const uint8_t values[10] = {0, 255, 0, 0, 40, 200, 90, 90, 255, 17};
    Plane source(10, 8, 8);
    for (uint32_t y = 0; y < 8; ++y) std::copy_n(values, 10, source.Row(y));
    for (const KernelCase& kernel : kKernels) {
        Plane destination(10, 15, 8);
        ASSERT_TRUE(Resize(source, destination, kernel.kernel, kernel.radius));
        for (uint32_t x = 0; x < 10; ++x) {
            int expected = values[x];
            if (kernel.kernel == &MitchellNetravaliKernel) {
                // 7, 114, 7, 0 at offsets -1 .. +2, the edges repeated.
                expected =
                    (7 * values[x == 0 ? 0 : x - 1] + 114 * values[x] + 7 * values[std::min(x + 1, 9u)] + 64) >> 7;
            }
            for (uint32_t y = 0; y < 15; ++y) ASSERT_EQ(destination.At(x, y), expected) << kernel.name << " x " << x;
        }
    }
}

TEST(PlaneResizer, TriangleHalvingAveragesThreeSourcePixels)
{
    std::mt19937 random(101);
    const Plane source = RandomPlane(101, 8, 8, random);
    Plane destination(51, 8, 8);
    ASSERT_TRUE(Resize(source, destination, &TriangleKernel, 1));
    for (uint32_t y = 0; y < 8; ++y) {
        const uint8_t* s = source.Row(y);
        for (uint32_t k = 0; k < 51; ++k) {
            const int left = s[k == 0 ? 0 : 2 * k - 1];
            const int right = s[std::min(2 * k + 1, 100u)];
            ASSERT_EQ(destination.At(k, y), (32 * left + 64 * s[2 * k] + 32 * right + 64) >> 7) << k << ", " << y;
        }
    }
}

TEST(PlaneResizer, TriangleEnlargementKeepsTheEndsAndBlendsBetween)
{
    std::mt19937 random(815);
    const Plane source = RandomPlane(8, 8, 8, random);
    Plane destination(15, 8, 8);
    ASSERT_TRUE(Resize(source, destination, &TriangleKernel, 1));
    for (uint32_t y = 0; y < 8; ++y) {
        const uint8_t* s = source.Row(y);
        EXPECT_EQ(destination.At(0, y), s[0]);
        EXPECT_EQ(destination.At(14, y), s[7]);
        // k N / D = k / 2: odd pixels sit halfway, phase 7 of 14, weights 64 and 64.
        EXPECT_EQ(destination.At(1, y), (64 * s[0] + 64 * s[1] + 64) >> 7);
        EXPECT_EQ(destination.At(6, y), s[3]);
    }
}

TEST(PlaneResizer, LanczosOvershootAtAnEdgeIsClamped)
{
    Plane source(8, 8, 8);
    for (uint32_t y = 0; y < 8; ++y) {
        for (uint32_t x = 0; x < 8; ++x) source.At(x, y) = x < 4 ? 0 : 255;
    }
    Plane destination(15, 8, 8);
    ASSERT_TRUE(Resize(source, destination, &LanczosKernel, 3));
    CResizeWeights across;
    ASSERT_TRUE(across.Build(8, 15, &LanczosKernel, 3));
    const int16_t* half = across.Row(7);
    // Pixel 5 (at 2.5) sees bright only under its last two taps, whose sum is negative;
    // pixel 9 (at 4.5) sees dark only under its first two, so the rest exceeds 128.
    ASSERT_LT(half[4] + half[5], 0);
    ASSERT_LT(half[0] + half[1], 0);
    for (uint32_t y = 0; y < 8; ++y) {
        EXPECT_EQ(destination.At(5, y), 0);
        EXPECT_EQ(destination.At(9, y), 255);
    }
    EXPECT_EQ(destination.bytes, ReferenceResize(source, 15, 8, &LanczosKernel, 3).bytes);
}

// The top band is empty only for the triangle without reduction; with sizes of 8
// and more the bottom band always holds a row and the middle band at least two.
TEST(PlaneResizer, BandsAsTheRulesSizeThem)
{
    const struct {
        uint32_t sourceHeight, height;
        int kernel;
        BandSizes bands;
    } cases[] = {
        {8, 15, 0, {0, 14, 1}},  // triangle enlargement: nothing reaches above row 0
        {9, 8, 0, {1, 6, 1}},    // triangle reduction: two taps each side
        {8, 15, 2, {4, 6, 5}},   // Lanczos enlargement
        {9, 8, 2, {3, 2, 3}},    // the smallest middle band
        {4000, 100, 2, {3, 94, 3}},
    };
    for (const auto& expected : cases) {
        const KernelCase& kernel = kKernels[expected.kernel];
        const BandSizes bands = BandsOf(expected.sourceHeight, expected.height, kernel.kernel, kernel.radius);
        EXPECT_EQ(bands.top, expected.bands.top) << kernel.name << " " << expected.sourceHeight;
        EXPECT_EQ(bands.middle, expected.bands.middle) << kernel.name << " " << expected.sourceHeight;
        EXPECT_EQ(bands.bottom, expected.bands.bottom) << kernel.name << " " << expected.sourceHeight;
        std::mt19937 random(expected.sourceHeight);
        const Plane source = RandomPlane(9, expected.sourceHeight, 8, random);
        Plane destination(9, expected.height, 8);
        ASSERT_TRUE(Resize(source, destination, kernel.kernel, kernel.radius));
        EXPECT_EQ(destination.bytes, ReferenceResize(source, 9, expected.height, kernel.kernel, kernel.radius).bytes);
    }
}

TEST(PlaneResizer, MiddleBandReportsEveryTenthRowInTenths)
{
    std::mt19937 random(10);
    const Plane source = RandomPlane(12, 40, 32, random);
    Plane destination(12, 73, 32);
    const BandSizes bands = BandsOf(40, 73, &LanczosKernel, 3);
    ASSERT_GE(bands.middle, 30u);
    auto progress = CComPtr<CRecordingProgress>::Adopt(CRecordingProgress::Create());
    ASSERT_TRUE(Resize(source, destination, &LanczosKernel, 3, progress.Get()));
    const auto& events = progress->Events();
    ASSERT_EQ(events.size(), bands.middle / 10);
    for (size_t i = 0; i < events.size(); ++i) {
        EXPECT_EQ(events[i].call, CRecordingProgress::Call::Step);
        EXPECT_EQ(events[i].done, static_cast<int>(i + 1));
        EXPECT_EQ(events[i].total, static_cast<int>(bands.middle / 10));
    }
}

// A stop before the tenth middle row leaves that row and the rest of the band as
// they were; the bottom band is still filled.
TEST(PlaneResizer, AStopEndsTheMiddleBandAndStillFillsTheBottom)
{
    std::mt19937 random(11);
    const Plane source = RandomPlane(12, 40, 32, random);
    Plane destination(12, 73, 32);
    const BandSizes bands = BandsOf(40, 73, &MitchellNetravaliKernel, 2);
    auto progress = CComPtr<CRecordingProgress>::Adopt(CRecordingProgress::Create(0));
    EXPECT_FALSE(Resize(source, destination, &MitchellNetravaliKernel, 2, progress.Get()));
    EXPECT_EQ(progress->CountOf(CRecordingProgress::Call::Step), 1);
    const Plane expected = ReferenceResize(source, 12, 73, &MitchellNetravaliKernel, 2);
    const uint32_t firstSkipped = bands.top + 9;
    const uint32_t bottom = bands.top + bands.middle;
    for (uint32_t y = 0; y < 73; ++y) {
        const bool skipped = y >= firstSkipped && y < bottom;
        for (size_t b = 0; b < destination.RowBytes(); ++b) {
            ASSERT_EQ(destination.Row(y)[b], skipped ? kUntouched : expected.Row(y)[b]) << "row " << y;
        }
    }
}

TEST(PlaneResizer, PlanesSmallerThanEightAreRefused)
{
    CPlaneResizer resizer;
    EXPECT_DEBUG_DEATH(EXPECT_FALSE(resizer.Init(7, 8, 8, 8, 32, 32, &TriangleKernel, 1, 32)), "kMinimumSize");
    EXPECT_DEBUG_DEATH(EXPECT_FALSE(resizer.Init(8, 8, 8, 7, 32, 32, &TriangleKernel, 1, 32)), "kMinimumSize");
}
