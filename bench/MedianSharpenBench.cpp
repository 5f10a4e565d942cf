// Median (radius 1 to 4) and Sharpen (blur and unsharp mask at sigma 1, 2.5 and 10,
// both paths) on a 12-megapixel photo-like picture, in megapixels per second.

#include "filters/shared/gaussian/GaussianKernel.h"
#include "filters/median/MedianKernel.h"
#include "filters/shared/gaussian/SeparablePasses.h"
#include "filters/sharpen/SharpenKernelMerge.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

constexpr int kWidth = 4000;
constexpr int kHeight = 3000;
constexpr double kMegapixels = kWidth * kHeight / 1e6;

// Gradients, a few smooth blobs, hard edges and sensor noise: ties of luma are as
// common as in a photo, neither all alike nor all different.
std::vector<uint32_t> MakePhoto()
{
    std::vector<uint32_t> pixels(static_cast<size_t>(kWidth) * kHeight);
    uint32_t state = 2463534242u;
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            state ^= state << 13;
            state ^= state >> 17;
            state ^= state << 5;
            const int noise = static_cast<int>(state % 13) - 6;
            const double blob = 60.0 * std::sin(x * 0.003) * std::cos(y * 0.004);
            const int edge = ((x / 500 + y / 400) % 2) * 50;
            const auto channel = [&](double base) {
                return static_cast<uint32_t>(std::clamp(static_cast<int>(base + blob) + edge + noise, 0, 255));
            };
            pixels[static_cast<size_t>(y) * kWidth + static_cast<size_t>(x)] =
                channel(40 + x * 0.04) << 16 | channel(160 - y * 0.03) << 8 | channel(90 + (x + y) * 0.01);
        }
    }
    return pixels;
}

const std::vector<uint32_t>& Photo()
{
    static const std::vector<uint32_t> photo = MakePhoto();
    return photo;
}

PixelRows RowsOf(std::vector<uint32_t>& pixels)
{
    return {reinterpret_cast<uint8_t*>(pixels.data()), ptrdiff_t{4} * kWidth, kWidth, kHeight};
}

void CountMegapixels(benchmark::State& state)
{
    state.counters["MP/s"] = benchmark::Counter(kMegapixels * static_cast<double>(state.iterations()),
                                                benchmark::Counter::kIsRate);
}

void BM_Median(benchmark::State& state)
{
    std::vector<uint32_t> work = Photo();
    for (auto _ : state) {
        state.PauseTiming();
        std::copy(Photo().begin(), Photo().end(), work.begin());
        state.ResumeTiming();
        benchmark::DoNotOptimize(MedianFilter(RowsOf(work), static_cast<int>(state.range(0)), {}));
    }
    CountMegapixels(state);
}

// The yardstick: every interior window copied and partly sorted on its own, as a
// plain selection does it. Its cost grows with the window's area.
void BM_MedianBySelection(benchmark::State& state)
{
    const int radius = static_cast<int>(state.range(0));
    const std::vector<uint32_t>& photo = Photo();
    std::vector<uint32_t> out(photo.size());
    std::vector<uint32_t> window;
    for (auto _ : state) {
        for (int y = radius; y < kHeight - radius; ++y) {
            for (int x = radius; x < kWidth - radius; ++x) {
                window.clear();
                for (int wy = y - radius; wy <= y + radius; ++wy) {
                    const uint32_t* row = photo.data() + static_cast<size_t>(wy) * kWidth;
                    window.insert(window.end(), row + x - radius, row + x + radius + 1);
                }
                std::nth_element(window.begin(), window.begin() + window.size() / 2, window.end());
                out[static_cast<size_t>(y) * kWidth + static_cast<size_t>(x)] = window[window.size() / 2];
            }
        }
        benchmark::DoNotOptimize(out.data());
    }
    CountMegapixels(state);
}

// The full windows alone, with each variant of the interior row: the photo keyed once
// (rows with the slack the variants may read), then every row with a full window.
// Its ratio to BM_Median shows what keying, the edges and the memory traffic add.
void BM_MedianInterior(benchmark::State& state, MedianInteriorRow interiorRow, bool avx2)
{
    if (avx2 && __builtin_cpu_supports("avx2") == 0) {
        state.SkipWithError("no AVX2 here");
        return;
    }
    const int radius = static_cast<int>(state.range(0));
    const size_t stride = kWidth + kMedianRowSlack;
    std::vector<uint32_t> keyed(stride * kHeight);
    for (int y = 0; y < kHeight; ++y) {
        KeyRowByLuma(Photo().data() + static_cast<size_t>(y) * kWidth, kWidth, keyed.data() + stride * y, nullptr);
    }
    std::vector<uint32_t> out(Photo().size());
    std::vector<uint32_t> scratch(MedianScratchKeys());
    std::vector<const uint32_t*> rows(static_cast<size_t>(2 * radius + 1));
    for (auto _ : state) {
        for (int y = radius; y < kHeight - radius; ++y) {
            for (int i = 0; i <= 2 * radius; ++i) rows[static_cast<size_t>(i)] = keyed.data() + stride * (y - radius + i);
            interiorRow(rows.data(), 2 * radius + 1, kWidth, radius, out.data() + static_cast<size_t>(y) * kWidth,
                        scratch.data());
        }
        benchmark::DoNotOptimize(out.data());
    }
    CountMegapixels(state);
}

BlurPath PathOf(const benchmark::State& state)
{
    return state.range(1) != 0 ? BlurPath::FixedPoint : BlurPath::Portable;
}

double SigmaOf(const benchmark::State& state)
{
    return static_cast<double>(state.range(0)) / 10.0;
}

void BM_GaussianBlur(benchmark::State& state)
{
    std::vector<uint32_t> source = Photo();
    std::vector<uint32_t> blurred(source.size());
    for (auto _ : state) {
        BlurPicture(RowsOf(source), RowsOf(blurred), BuildGaussianKernel(SigmaOf(state)), PathOf(state), {});
        benchmark::DoNotOptimize(blurred.data());
    }
    CountMegapixels(state);
}

void BM_UnsharpMask(benchmark::State& state)
{
    std::vector<uint32_t> source = Photo();
    std::vector<uint32_t> merged(source.size());
    for (auto _ : state) {
        BlurPicture(RowsOf(source), RowsOf(merged), BuildGaussianKernel(SigmaOf(state)), PathOf(state), {},
                    UnsharpRowMerge(0.5, 8, PathOf(state)));
        benchmark::DoNotOptimize(merged.data());
    }
    CountMegapixels(state);
}

// Sigma in tenths; the second argument is 1 for the fixed-point path, 0 for portable.
void SharpenArguments(benchmark::internal::Benchmark* benchmark)
{
    benchmark->ArgNames({"sigma10", "fixed"});
    for (const int fixed : {1, 0}) {
        for (const int sigma : {10, 25, 100}) benchmark->Args({sigma, fixed});
    }
}

} // namespace

BENCHMARK(BM_Median)->ArgName("radius")->DenseRange(1, 4)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_MedianInterior, Portable, &MedianInteriorRowPortable, false)
    ->ArgName("radius")->DenseRange(1, 4)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_MedianInterior, Sse2, &MedianInteriorRowSse2, false)
    ->ArgName("radius")->DenseRange(1, 4)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_MedianInterior, Avx2, &MedianInteriorRowAvx2, true)
    ->ArgName("radius")->DenseRange(1, 4)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_MedianBySelection)->ArgName("radius")->DenseRange(1, 4)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_GaussianBlur)->Apply(SharpenArguments)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_UnsharpMask)->Apply(SharpenArguments)->Unit(benchmark::kMillisecond)->UseRealTime();
