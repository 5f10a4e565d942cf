// Vignetting as a host drives it, and its kernel alone. Expected pixels come from a
// plain reference written here from the rule (doubles, square roots, truncation),
// and from values worked out by hand; rows are section rows, row 0 the bottom.

#include "tests/HostDoubles.h"
#include "tests/KernelPicture.h"
#include "tests/TestSupport.h"
#include "tests/shared/KernelVariants.h"

#include "Common/status/Status.h"
#include "filters/vignetting/VignettingFactory.h"
#include "filters/vignetting/VignettingKernel.h"
#include "refhost/PluginHost.h"


#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>
#include <tuple>
#include <vector>

namespace {

struct Picture {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;  // row 0 (the bottom) first

    uint32_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

Picture PictureOf(IImage* image)
{
    const auto [width, height] = SizeOf(image);
    return {width, height, PixelsOf(image)};
}

// Every channel busy, bright ones included, and a fourth byte that is never 0.
uint32_t BusyPixel(int x, int y)
{
    const auto red = static_cast<uint32_t>((37 * x + 11 * y + 200) & 0xFF);
    const auto green = static_cast<uint32_t>((53 * x + 29 * y + 90) & 0xFF);
    const auto blue = static_cast<uint32_t>((17 * x + 71 * y + 255) & 0xFF);
    return 0x80000000u | static_cast<uint32_t>((x + y) & 0x7F) << 24 | red << 16 | green << 8 | blue;
}

uint32_t Grey(int level)
{
    const auto v = static_cast<uint32_t>(level);
    return 0xFF000000u | v << 16 | v << 8 | v;
}

uint32_t Opaque(int red, int green, int blue)
{
    return 0xFF000000u | static_cast<uint32_t>(red) << 16 | static_cast<uint32_t>(green) << 8 | static_cast<uint32_t>(blue);
}

// The rule as written, one pixel at a time.
Picture ReferenceVignette(const Picture& source)
{
    Picture out = source;
    const int cx = source.width / 2;
    const int cy = source.height / 2;
    for (int y = 0; y < source.height; ++y) {
        for (int x = 0; x < source.width; ++x) {
            const double u = cx == 0 ? 0.0 : std::abs(x - cx) / static_cast<double>(cx);
            const double v = cy == 0 ? 0.0 : std::abs(y - cy) / static_cast<double>(cy);
            const double r = std::sqrt(u * u + v * v);
            double t = 1 - r;
            if (t < 0) t = 0;
            if (t > 1) t = 1;
            const double f = std::sqrt(t);
            const uint32_t pixel = source.At(x, y);
            const int red = static_cast<int>((pixel >> 16 & 0xFF) * f);
            const int green = static_cast<int>((pixel >> 8 & 0xFF) * f);
            const int blue = static_cast<int>((pixel & 0xFF) * f);
            out.pixels[static_cast<size_t>(y) * source.width + x] =
                static_cast<uint32_t>(red << 16 | green << 8 | blue);
        }
    }
    return out;
}

// Sizes first, then every pixel.
void ExpectSamePicture(const Picture& actual, const Picture& expected)
{
    ASSERT_EQ(actual.width, expected.width);
    ASSERT_EQ(actual.height, expected.height);
    EXPECT_EQ(actual.pixels, expected.pixels);
}

// The factory keeps a host: every test gives it a fresh one and takes it back.
class Vignetting : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_host = CComPtr<IPluginHost>::Adopt(CPluginHost::Create(0x0409));
        FactoryOf<CVignettingFactory>().Initialize(m_host.Get(), 0);
    }
    void TearDown() override { FactoryOf<CVignettingFactory>().Uninitialize(0); }

    static CComPtr<IFilter> Filter(IUnknown* source)
    {
        CComPtr<IFilter> filter;
        EXPECT_TRUE(FactoryOf<CVignettingFactory>().CreateFilter(source, filter.Receive(), nullptr));
        return filter;
    }

    // Applies a filter made for source and answers the result (null on failure).
    static CComPtr<IImage> Applied(CHostImage* source, IProgress* progress = nullptr)
    {
        CComPtr<IImage> result;
        const CComPtr<IFilter> filter = Filter(static_cast<IImage*>(source));
        EXPECT_TRUE(filter->Apply(nullptr, result.Receive(), progress, nullptr));
        return result;
    }

private:
    CComPtr<IPluginHost> m_host;
};

} // namespace

// ---------------------------------------------------------------- pixels

TEST_F(Vignetting, OddEvenAndOnePixelSizesFollowTheRule)
{
    const std::vector<std::pair<int, int>> sizes{{7, 5}, {8, 6}, {9, 4}, {33, 20}, {64, 48},
                                                 {1, 1}, {1, 6}, {5, 1}, {2, 2}, {2, 3}, {257, 131}};
    for (const auto& [width, height] : sizes) {
        SCOPED_TRACE(std::to_string(width) + "x" + std::to_string(height));
        const auto source = MakeImage(width, height, BusyPixel);
        const Picture before = PictureOf(source.Get());
        const CComPtr<IImage> result = Applied(source.Get());
        ASSERT_TRUE(result);
        ExpectSamePicture(PictureOf(result.Get()), ReferenceVignette(before));
        SCOPED_TRACE("the source is never changed");
        ExpectSamePicture(PictureOf(source.Get()), before);
    }
}

// Worked by hand: the centre (width / 2, height / 2), rows counted from the bottom,
// keeps its colour; a share u or v of 0.5 scales by sqrt(0.5) = 0.7071 (200 -> 141,
// 100 -> 70, 7 -> 4); a share of 1, or a pixel outside the ellipse, turns black; the
// fourth byte becomes 0. A side of one pixel does not darken along itself.
TEST_F(Vignetting, HandWorkedPixels)
{
    using Expected = std::tuple<int, int, uint32_t>;  // x, y, pixel
    struct Case {
        const char* what;
        int width, height;
        uint32_t fill;
        std::vector<Expected> pixels;
    };
    constexpr uint32_t kKept = 0x00C8C8C8u, kHalfway = 0x008D8D8Du;
    const Case cases[] = {
        {"9 x 5: the centre (4, 2), column 2 halfway to the left edge", 9, 5, 0x7F000000u | Opaque(200, 100, 7),
         {{4, 2, 0x00C86407u}, {0, 2, 0}, {8, 2, 0}, {4, 0, 0}, {4, 4, 0}, {0, 0, 0}, {8, 0, 0}, {0, 4, 0},
          {8, 4, 0}, {1, 0, 0}, {7, 4, 0}, {2, 2, 0x008D4604u}, {6, 2, 0x008D4604u}, {4, 1, 0x008D4604u},
          {4, 3, 0x008D4604u}}},
        {"four rows: the centre is row 2, the bottom row the far one", 5, 4, Grey(200),
         {{2, 2, kKept}, {2, 1, kHalfway}, {2, 3, kHalfway}, {2, 0, 0}}},
        {"one pixel wide", 1, 4, Grey(200), {{0, 2, kKept}, {0, 1, kHalfway}, {0, 3, kHalfway}, {0, 0, 0}}},
        {"one pixel high", 5, 1, Grey(200),
         {{2, 0, kKept}, {1, 0, kHalfway}, {3, 0, kHalfway}, {0, 0, 0}, {4, 0, 0}}},
        {"one pixel", 1, 1, Opaque(1, 2, 3), {{0, 0, 0x00010203u}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const auto source = MakeImage(c.width, c.height, [&](int, int) { return c.fill; });
        const Picture out = PictureOf(Applied(source.Get()).Get());
        for (const auto& [x, y, pixel] : c.pixels) EXPECT_EQ(out.At(x, y), pixel) << "at " << x << "," << y;
    }
}

TEST_F(Vignetting, TheInputArgumentReplacesTheFactorySource)
{
    const auto factorySource = MakeImage(3, 3, BusyPixel);
    const auto input = MakeImage(11, 6, BusyPixel);
    CComPtr<IImage> result;
    ASSERT_TRUE(Filter(static_cast<IImage*>(factorySource.Get()))
                    ->Apply(static_cast<IImage*>(input.Get()), result.Receive(), nullptr, nullptr));
    ExpectSamePicture(PictureOf(result.Get()), ReferenceVignette(PictureOf(input.Get())));
}

TEST(VignettingKernel, AStopLeavesTheRowsBeforeItDoneAndTheRestUntouched)
{
    const auto image = MakeImage(7, 6, BusyPixel);
    const Picture before = PictureOf(image.Get());
    const Picture whole = ReferenceVignette(before);
    const PixelRows rows{reinterpret_cast<uint8_t*>(image->Row(0)), image->GetStride(), 7, 6};
    EXPECT_FALSE(Vignette(rows, [](int done, int) { return done < 2; }));
    const Picture after = PictureOf(image.Get());
    for (int y = 0; y < 6; ++y) {
        for (int x = 0; x < 7; ++x) EXPECT_EQ(after.At(x, y), (y < 2 ? whole : before).At(x, y)) << x << "," << y;
    }
}

// ---------------------------------------------------------------- the loops' variants

namespace {

struct LoopsVariant : kernel_variants::Named {
    const VignetteLoops* loops;
};

class VignetteLoopVariants : public KernelVariantTest<LoopsVariant> {};

// Random pixels on rows two pixels longer than the picture, the extra ones marked, so
// that a loop running past its row shows.
struct PaddedPicture : KernelPicture {
    static constexpr uint32_t kMark = 0xDEADBEEFu;

    PaddedPicture(int w, int h, std::mt19937& random) : KernelPicture(w, h, kMark, 2)
    {
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) At(x, y) = static_cast<uint32_t>(random());
        }
    }
    Picture Inside() const
    {
        Picture picture{width, height, {}};
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) picture.pixels.push_back(At(x, y));
        }
        return picture;
    }
    bool MarksKept() const
    {
        for (int y = 0; y < height; ++y) {
            if (At(width, y) != kMark || At(width + 1, y) != kMark) return false;
        }
        return true;
    }
};

} // namespace

INSTANTIATE_TEST_SUITE_P(Each, VignetteLoopVariants,
                         testing::Values(LoopsVariant{{"Portable", ""}, &kPortableVignetteLoops},
                                         LoopsVariant{{"Avx2", "AVX2"}, &kAvx2VignetteLoops},
                                         // The loops the filter runs on this processor.
                                         LoopsVariant{{"Chosen", ""}, &ChosenVignetteLoops()}),
                         NameOfVariant());

// Odd and even sizes around the vector widths, long thin ones, and one past a few
// blocks of eight on both halves, against the rule and against the portable loops.
TEST_P(VignetteLoopVariants, WholePicturesGiveThePortableBits)
{
    std::mt19937 random(4096);
    const std::vector<std::pair<int, int>> sizes{{1, 1},  {3, 5},   {9, 7},    {15, 3},  {16, 9},  {17, 13},
                                                 {33, 21}, {65, 1}, {1, 65},  {2, 40},  {101, 57}, {257, 31}};
    for (const auto& [width, height] : sizes) {
        SCOPED_TRACE(std::to_string(width) + "x" + std::to_string(height));
        PaddedPicture variant(width, height, random);
        PaddedPicture portable = variant;
        const Picture before = variant.Inside();
        ASSERT_TRUE(VignetteWith(variant.Rows(), {}, *GetParam().loops));
        ASSERT_TRUE(VignetteWith(portable.Rows(), {}, kPortableVignetteLoops));
        EXPECT_TRUE(variant.MarksKept());
        ExpectSamePicture(portable.Inside(), ReferenceVignette(before));
        ExpectSamePicture(variant.Inside(), portable.Inside());
    }
}

// Each loop alone on every count to beyond a few whole vectors, so every tail runs:
// factors from shares of 0 up to the edge (exactly 1 included), pixels scaled forwards
// and backwards by factors that include exactly 0 and 1.
TEST_P(VignetteLoopVariants, EachLoopGivesThePortableBitsOnEveryCount)
{
    const VignetteLoops& loops = *GetParam().loops;
    std::mt19937 random(77);
    std::uniform_real_distribution<double> share(0.0, 1.0);
    for (int count = 0; count <= 41; ++count) {
        SCOPED_TRACE(count);
        std::vector<double> uSquares(static_cast<size_t>(count));
        for (double& square : uSquares) square = share(random) * share(random);
        if (count > 0) uSquares.back() = 1.0;
        if (count > 1) uSquares.front() = 0.0;
        const double vSquare = count % 3 == 0 ? 0.0 : share(random) * share(random) / 4;
        std::vector<double> factors(static_cast<size_t>(count) + 1, -1.0);
        std::vector<double> expected = factors;
        loops.factors(uSquares.data(), vSquare, factors.data(), count);
        kPortableVignetteLoops.factors(uSquares.data(), vSquare, expected.data(), count);
        EXPECT_EQ(factors, expected) << "the entry after the last stays as it was";

        std::vector<double> scales(static_cast<size_t>(count));
        for (double& scale : scales) scale = share(random);
        if (count > 2) scales[1] = 0.0;
        if (count > 3) scales[2] = 1.0;
        for (const bool mirrored : {false, true}) {
            std::vector<uint32_t> pixels(static_cast<size_t>(count) + 1);
            for (uint32_t& pixel : pixels) pixel = static_cast<uint32_t>(random());
            std::vector<uint32_t> plain = pixels;
            (mirrored ? loops.scaleMirrored : loops.scale)(pixels.data(), scales.data(), count);
            (mirrored ? kPortableVignetteLoops.scaleMirrored : kPortableVignetteLoops.scale)(plain.data(),
                                                                                          scales.data(), count);
            EXPECT_EQ(pixels, plain) << (mirrored ? "mirrored" : "forwards");
        }
    }
}

// ---------------------------------------------------------------- the apply's calls

TEST_F(Vignetting, ReportsEveryRowAndFinishes)
{
    const auto source = MakeImage(6, 5, BusyPixel);
    const auto progress = Recorder();
    ASSERT_TRUE(Applied(source.Get(), progress.Get()));
    EXPECT_EQ(ProgressCalls(progress->Events()), "SetText Vignetting;" + StepCalls(0, 4, 5) + "Finish true;");
}

TEST_F(Vignetting, AStopFinishesUnsuccessfullyWithStatusEightAndNoResult)
{
    const auto source = MakeImage(6, 5, BusyPixel);
    const Picture before = PictureOf(source.Get());
    for (int cancelAt = 0; cancelAt < 5; ++cancelAt) {
        SCOPED_TRACE(cancelAt);
        const FailedApply failed =
            ApplyExpectingFailure(Filter(static_cast<IImage*>(source.Get())).Get(), nullptr, cancelAt);
        EXPECT_EQ(failed.code, kStatusCancelled);
        EXPECT_FALSE(failed.storedResult);
        EXPECT_EQ(ProgressCalls(failed.events), "SetText Vignetting;" + StepCalls(0, cancelAt, 5) + "Finish false;");
    }
    ExpectSamePicture(PictureOf(source.Get()), before);
}

TEST_F(Vignetting, RefusalsBeforeAnyProgressCall)
{
    for (const CComPtr<CHostImage>& source : CloneRefusingSources(4, 4)) {
        const FailedApply failed = ApplyExpectingFailure(Filter(static_cast<IImage*>(source.Get())).Get(), nullptr,
                                                         CRecordingProgress::kNeverCancel);
        EXPECT_EQ(failed.code, kStatusHostRefused);
        EXPECT_FALSE(failed.storedResult);
        EXPECT_TRUE(failed.events.empty()) << "no SetText, so no Finish either";
    }
}
