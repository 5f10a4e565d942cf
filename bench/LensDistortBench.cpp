// Lens distortion of a 12-megapixel picture, single thread, barrel and pincushion at
// the dialog's ends and a mild barrel, beside a plain copy of the same bytes, with
// the loop chosen for this processor and, once, with the portable loop. The
// picture is a ramp with grain, so the interpolation meets varied neighbours.

#include "filters/lens-distort/LensDistortKernel.h"
#include "filters/shared/parallel/RowBands.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

namespace {

constexpr int kWidth = 4000;
constexpr int kHeight = 3000;
constexpr size_t kPixels = size_t{kWidth} * kHeight;

const std::vector<uint32_t>& Scene()
{
    static const std::vector<uint32_t> pixels = [] {
        std::vector<uint32_t> made(kPixels);
        uint32_t state = 314159;
        for (size_t i = 0; i < kPixels; ++i) {
            state = state * 22695477u + 1u;
            const auto x = static_cast<uint32_t>(i % kWidth);
            const auto y = static_cast<uint32_t>(i / kWidth);
            made[i] = ((x / 16 + (state >> 28)) & 0xFF) << 16 | ((y / 12) & 0xFF) << 8 | (state >> 24);
        }
        return made;
    }();
    return pixels;
}

PixelRows RowsOf(std::vector<uint32_t>& pixels)
{
    return {reinterpret_cast<uint8_t*>(pixels.data()), ptrdiff_t{kWidth} * 4, kWidth, kHeight};
}

void BM_LensDistort(benchmark::State& state, double coefficient, LensRowPairLoop loop, int threads)
{
    std::vector<uint32_t> source = Scene();
    std::vector<uint32_t> target(kPixels);
    for (auto _ : state) {
        benchmark::DoNotOptimize(DistortLensWith(RowsOf(source), RowsOf(target), coefficient, {}, loop, threads));
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(kPixels * 4));
}

void BM_LensCopy(benchmark::State& state)
{
    const std::vector<uint32_t>& source = Scene();
    std::vector<uint32_t> target(kPixels);
    for (auto _ : state) {
        std::memcpy(target.data(), source.data(), kPixels * 4);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(kPixels * 4));
}

} // namespace

// The loop the filter runs on this processor, and the portable one that defines the
// bits, on one thread; then on every core (BASICFILTERS_THREADS sets how many).
BENCHMARK_CAPTURE(BM_LensDistort, Barrel, 0.1, ChosenLensRowPairLoop(), 1)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_LensDistort, Pincushion, -0.1, ChosenLensRowPairLoop(), 1)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_LensDistort, MildBarrel, 0.02, ChosenLensRowPairLoop(), 1)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_LensDistort, BarrelPortable, 0.1, &LensRowPairPortable, 1)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_LensDistort, BarrelAllCores, 0.1, ChosenLensRowPairLoop(), KernelThreadCount())
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(BM_LensCopy)->Unit(benchmark::kMillisecond);
