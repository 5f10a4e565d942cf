// The Gaussian blur's pieces alone, on plain pixel buffers: the integer kernel, the
// two convolution passes on both paths, and every variant of the fixed-point row.

#include "filters/shared/gaussian/GaussianKernel.h"
#include "filters/shared/gaussian/SeparablePasses.h"
#include "tests/shared/KernelVariants.h"
#include "tests/sharpen/SharpenReference.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <random>

namespace {

// The kernel rules step by step: tap means over 50 (centre 51) samples, the cut-off
// at 2s, normalising, truncating, and the remainder given to the centre.
std::vector<int32_t> KernelByTheRules(double sigma)
{
    const double s = std::fabs(sigma) + 0.00001;
    const int n = std::max(1, 2 * static_cast<int>(std::ceil(2 * s - 0.5)) + 1);
    const int m = n / 2;
    const auto g = [s](double t) { return std::exp(-t * t / (2 * s * s)); };
    std::vector<double> real(static_cast<size_t>(n));
    for (int i = m + 1; i < n; ++i) {
        double sum = 0.0;
        for (int k = 1; k <= 50; ++k) sum += (i - m - 0.5) + 0.02 * k <= 2 * s ? g((i - m - 0.5) + 0.02 * k) : 0.0;
        real[static_cast<size_t>(i)] = real[static_cast<size_t>(n - 1 - i)] = (1.0 / 50) * sum;
    }
    double centre = 0.0;
    for (int k = 0; k <= 50; ++k) centre += g(-0.5 + 0.02 * k);
    real[static_cast<size_t>(m)] = (1.0 / 51) * centre;
    const double total = std::accumulate(real.begin(), real.end(), 0.0);
    std::vector<int32_t> kernel;
    for (const double weight : real) kernel.push_back(static_cast<int32_t>(weight / total * 8192));
    kernel[static_cast<size_t>(m)] += 8192 - std::accumulate(kernel.begin(), kernel.end(), 0);
    return kernel;
}

ReferencePicture RandomPicture(int width, int height, unsigned seed)
{
    std::mt19937 random(seed);
    ReferencePicture picture{width, height, std::vector<uint32_t>(static_cast<size_t>(width * height))};
    for (uint32_t& pixel : picture.pixels) pixel = static_cast<uint32_t>(random());
    return picture;
}

PixelRows RowsOf(ReferencePicture& picture)
{
    return {reinterpret_cast<uint8_t*>(picture.pixels.data()), ptrdiff_t{4} * picture.width, picture.width,
            picture.height};
}

ReferencePicture Blurred(ReferencePicture source, const std::vector<int32_t>& kernel, BlurPath path,
                          int threads = 1)
{
    ReferencePicture out = source;
    EXPECT_TRUE(BlurPicture(RowsOf(source), RowsOf(out), kernel, path, {}, {}, threads));
    return out;
}

constexpr BlurPath kPaths[] = {BlurPath::FixedPoint, BlurPath::Portable};

} // namespace

TEST(GaussianKernel, LengthSumSymmetryAndWeights)
{
    // N = 2 ceil(2 (|sigma| + 0.00001) - 0.5) + 1
    const std::pair<double, size_t> lengths[] = {{0.0, 1},  {0.2499, 1}, {0.25, 3},   {0.7499, 3},
                                                 {0.75, 5}, {2.5, 11},   {-2.5, 11}, {10.0, 41}};
    for (const auto& [sigma, taps] : lengths) EXPECT_EQ(BuildGaussianKernel(sigma).size(), taps) << sigma;
    for (const double sigma : {0.1, 0.3, 0.6, 1.0, 1.7, 2.5, 4.2, 10.0}) {
        const std::vector<int32_t> kernel = BuildGaussianKernel(sigma);
        EXPECT_EQ(std::accumulate(kernel.begin(), kernel.end(), 0), 8192) << sigma;
        for (size_t i = 0; i < kernel.size() / 2; ++i) {
            EXPECT_EQ(kernel[i], kernel[kernel.size() - 1 - i]) << sigma;
            EXPECT_TRUE(kernel[i] >= 0 && kernel[i] <= kernel[i + 1]) << sigma << " rises to the centre";
        }
        EXPECT_EQ(kernel, KernelByTheRules(sigma)) << sigma;
    }
    EXPECT_EQ(BuildGaussianKernel(std::nan("")), std::vector<int32_t>{8192});
    EXPECT_EQ(BuildGaussianKernel(1e12).size(), 4001u) << "a length that fits in memory";
}

TEST(SeparablePasses, EachPathFollowsItsRuleOnRandomPictures)
{
    for (const BlurPath path : kPaths) {
        for (const double sigma : {0.2, 0.6, 1.3, 4.0}) {
            const std::vector<int32_t> kernel = BuildGaussianKernel(sigma);
            for (const auto& [width, height] : {std::pair{1, 1}, {3, 2}, {7, 5}, {33, 17}, {6, 40}, {41, 97}}) {
                const ReferencePicture source = RandomPicture(width, height, 17);
                const std::vector<uint32_t> expected = ReferenceBlur(source, kernel, path == BlurPath::FixedPoint).pixels;
                for (const int threads : {1, 3}) {
                    EXPECT_EQ(Blurred(source, kernel, path, threads).pixels, expected)
                        << static_cast<int>(path) << " sigma " << sigma << " " << width << "x" << height << ", "
                        << threads << " threads";
                }
            }
        }
    }
}

// A bright line on the edge row, and a uniform picture: the fixed-point path sees a
// copy of the edge beyond it, the portable path divides by the weights inside. The
// line's rows are uniform, so the horizontal pass keeps what the vertical one made.
TEST(SeparablePasses, EdgesRepeatOrRenormaliseAndUniformStaysUniform)
{
    const std::vector<int32_t> kernel = BuildGaussianKernel(0.5);
    ASSERT_EQ(kernel.size(), 3u);
    const int side = kernel[0];
    const int centre = kernel[1];
    ReferencePicture line{4, 6, std::vector<uint32_t>(24, 0)};
    std::fill_n(line.pixels.begin(), 4, 0xFFFFFFu);
    for (const BlurPath path : kPaths) {
        const ReferencePicture out = Blurred(line, kernel, path);
        const int edge = path == BlurPath::FixedPoint ? (side + centre) * 255 / 8192 : centre * 255 / (side + centre);
        EXPECT_EQ(out.At(2, 0), static_cast<uint32_t>(edge * 0x010101));
        EXPECT_EQ(out.At(2, 1), static_cast<uint32_t>(side * 255 / 8192 * 0x010101)) << "inside, both alike";
        EXPECT_EQ(out.At(2, 2), 0u);

        const ReferencePicture uniform{9, 7, std::vector<uint32_t>(63, 0x80C86432u)};
        for (const uint32_t pixel : Blurred(uniform, BuildGaussianKernel(3.0), path).pixels) {
            ASSERT_EQ(pixel, 0x00C86432u) << "the fourth byte becomes 0";
        }
    }
}

// The merge sees the source row and the blurred row and writes the output row; the
// report hears row counts ending with the height, and a stop ends the blur.
TEST(SeparablePasses, TheMergeTakesEachBlurredRowAndTheReportCanStop)
{
    ReferencePicture source = RandomPicture(13, 9, 5);
    const std::vector<int32_t> kernel = BuildGaussianKernel(1.0);
    const ReferencePicture blurred = Blurred(source, kernel, BlurPath::FixedPoint);
    const BlurredRowMerge sumOfBoth = [](const uint8_t* original, const uint8_t* blur, uint8_t* out, int width) {
        for (int i = 0; i < 4 * width; ++i) out[i] = static_cast<uint8_t>(original[i] + blur[i]);
    };
    for (const int threads : {1, 2}) {
        ReferencePicture out{13, 9, std::vector<uint32_t>(13 * 9)};
        std::vector<int> reports;
        const UnitReport report = [&](int done, int total) {
            EXPECT_EQ(total, 9);
            reports.push_back(done);
            return true;
        };
        ASSERT_TRUE(BlurPicture(RowsOf(source), RowsOf(out), kernel, BlurPath::FixedPoint, report, sumOfBoth, threads));
        for (size_t i = 0; i < out.pixels.size(); ++i) {
            for (int channel = 0; channel < 4; ++channel) {
                ASSERT_EQ(ChannelOf(out.pixels[i], channel),
                          (ChannelOf(source.pixels[i], channel) + ChannelOf(blurred.pixels[i], channel)) % 256);
            }
        }
        ASSERT_FALSE(reports.empty());
        EXPECT_EQ(reports.back(), 9);
        EXPECT_TRUE(std::is_sorted(reports.begin(), reports.end()));
        int calls = 0;
        EXPECT_FALSE(BlurPicture(RowsOf(source), RowsOf(out), kernel, BlurPath::FixedPoint,
                                 [&](int, int) { return ++calls < 2; }, {}, threads));
    }
}

namespace {

// The rule of the fixed-point row written out: per colour byte the weighted sum,
// shifted right by 13 and clamped; the fourth byte 0.
std::vector<uint32_t> FixedPointRowByTheRule(const std::vector<std::vector<uint32_t>>& rows,
                                             const std::vector<int32_t>& weights, int width)
{
    std::vector<uint32_t> out(static_cast<size_t>(width));
    for (int x = 0; x < width; ++x) {
        for (int channel = 0; channel < 3; ++channel) {
            int64_t sum = 0;
            for (size_t i = 0; i < rows.size(); ++i) {
                sum += int64_t{weights[i]} * ChannelOf(rows[i][static_cast<size_t>(x)], channel);
            }
            const auto value = static_cast<uint32_t>(std::clamp<int64_t>(sum >> 13, 0, 255));
            out[static_cast<size_t>(x)] |= value << (8 * channel);
        }
    }
    return out;
}

struct RowVariant : kernel_variants::Named {
    FixedPointRow row;
};

class FixedPointRows : public KernelVariantTest<RowVariant> {};

} // namespace

INSTANTIATE_TEST_SUITE_P(Each, FixedPointRows,
                         testing::Values(RowVariant{{"Scalar", ""}, &WeightedRowFixedPointScalar},
                                         RowVariant{{"Sse2", "SSE2"}, &WeightedRowFixedPointSse2},
                                         RowVariant{{"Avx2", "AVX2"}, &WeightedRowFixedPointAvx2}),
                         NameOfVariant());

// The scalar row against the rule, and the vector rows against the scalar row, which
// defines the path. Widths below, at and beyond whole vectors of four and eight
// pixels and drawn at random; taps odd and even up to a sigma-10 kernel's 41 and one
// beyond the lengths with loops of their own; weights of real kernels, random ones and
// all 8192, whose sums clamp at 255.
TEST_P(FixedPointRows, GiveTheScalarRowsBytes)
{
    std::mt19937 random(23);
    std::vector<int> widths = {1, 2, 3, 4, 5, 7, 8, 9, 12, 15, 16, 17, 33};
    for (int i = 0; i < 12; ++i) widths.push_back(1 + static_cast<int>(random() % 100));
    std::vector<std::vector<int32_t>> kernels = {BuildGaussianKernel(0.2), BuildGaussianKernel(1.3),
                                                 BuildGaussianKernel(10.0), std::vector<int32_t>(5, 8192)};
    for (const int taps : {1, 2, 3, 4, 5, 6, 7, 8, 9, 43}) {
        std::vector<int32_t> weights;
        for (int i = 0; i < taps; ++i) weights.push_back(static_cast<int32_t>(random() % 8193));
        kernels.push_back(weights);
    }
    for (const auto& weights : kernels) {
        const int taps = static_cast<int>(weights.size());
        for (const int width : widths) {
            std::vector<std::vector<uint32_t>> rows(weights.size());
            std::vector<const uint8_t*> sources;
            for (auto& row : rows) {
                for (int x = 0; x < width; ++x) row.push_back(static_cast<uint32_t>(random()));
                sources.push_back(reinterpret_cast<const uint8_t*>(row.data()));
            }
            std::vector<uint32_t> expected(static_cast<size_t>(width), 0xDEADBEEFu);
            WeightedRowFixedPointScalar(sources.data(), weights.data(), taps,
                                        reinterpret_cast<uint8_t*>(expected.data()), width);
            ASSERT_EQ(expected, FixedPointRowByTheRule(rows, weights, width)) << taps << " taps, width " << width;
            std::vector<uint32_t> actual(static_cast<size_t>(width) + 1, 0xDEADBEEFu);
            GetParam().row(sources.data(), weights.data(), taps, reinterpret_cast<uint8_t*>(actual.data()), width);
            EXPECT_EQ(actual.back(), 0xDEADBEEFu) << "wrote past the row";
            actual.pop_back();
            EXPECT_EQ(actual, expected) << taps << " taps, width " << width;
        }
    }
}
