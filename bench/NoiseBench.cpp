// The noise engine on a 12-megapixel picture, single thread: the estimate and the
// reduction apart, beside a plain copy of the same bytes as the yardstick. The picture
// is photo-like (smooth ramps, hard edges, grain), so the reduction meets flat
// windows and detailed ones as on a real photo; a picture of random bytes would make
// every window busy.

#include "filters/shared/noise/NoiseEngine.h"
#include "filters/shared/noise/NoiseEstimator.h"
#include "filters/shared/noise/NoiseReduction.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

constexpr int kWidth = 4000;
constexpr int kHeight = 3000;
constexpr size_t kBytes = size_t{kWidth} * kHeight * 4;

uint8_t Channel(int value) { return static_cast<uint8_t>(std::clamp(value, 0, 255)); }

const std::vector<uint8_t>& Photo()
{
    static const std::vector<uint8_t> pixels = [] {
        std::vector<uint8_t> made(kBytes);
        uint32_t state = 161803;
        for (int y = 0; y < kHeight; ++y) {
            for (int x = 0; x < kWidth; ++x) {
                // Grain of about +-8 levels, the sum of two uniform draws.
                state = state * 1664525u + 1013904223u;
                const int grain = static_cast<int>(state >> 28) + static_cast<int>(state >> 24 & 15) - 15;
                const int edge = (x / 250 + y / 300) % 2 == 0 ? 60 : 0;
                uint8_t* pixel = made.data() + (size_t{4} * (size_t{kWidth} * y + x));
                pixel[0] = Channel(180 - x / 40 - edge + grain);
                pixel[1] = Channel(60 + y / 25 + grain);
                pixel[2] = Channel(50 + x / 25 + edge + grain);
                pixel[3] = 0xFF;
            }
        }
        return made;
    }();
    return pixels;
}

PixelRows RowsOf(std::vector<uint8_t>& bytes)
{
    return {bytes.data(), ptrdiff_t{4} * kWidth, kWidth, kHeight};
}

const NoiseLevels& PhotoLevels()
{
    static const NoiseLevels levels = [] {
        std::vector<uint8_t> copy = Photo();
        NoiseLevels estimates;
        EstimateNoiseLevels(RowsOf(copy), {}, {}, estimates);
        return estimates;
    }();
    return levels;
}

template <class Kernel>
void Measure(benchmark::State& state, Kernel kernel)
{
    std::vector<uint8_t> work(kBytes);
    for (auto _ : state) {
        state.PauseTiming();
        std::memcpy(work.data(), Photo().data(), kBytes);
        state.ResumeTiming();
        kernel(RowsOf(work));
        benchmark::DoNotOptimize(work.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(kBytes));
}

void BM_NoiseCopy(benchmark::State& state)
{
    Measure(state, [](const PixelRows& image) { std::memcpy(image.bits, Photo().data(), kBytes); });
}

void BM_NoiseEstimate(benchmark::State& state)
{
    Measure(state, [](const PixelRows& image) {
        NoiseLevels estimates;
        EstimateNoiseLevels(image, {}, {}, estimates);
        benchmark::DoNotOptimize(estimates);
    });
}

// The reduction as Autofix and the Noise filter run it: smoothness 3 (or the range's
// ends), red, green and blue or the luma transform, the photo's own estimates.
void BM_NoiseReduce(benchmark::State& state)
{
    ReductionInputs inputs;
    inputs.radius = static_cast<int>(state.range(0));
    inputs.lumaChannels = state.range(1) != 0;
    inputs.deciding = PhotoLevels();
    inputs.others = PhotoLevels();
    Measure(state, [&inputs](const PixelRows& image) { ReduceNoiseOfRows(image, inputs, {}); });
}

void BM_NoiseWholeEngine(benchmark::State& state)
{
    Measure(state, [](const PixelRows& image) {
        NoiseLevels levels;
        ReduceNoiseOfWhole(image, {}, true, levels, {}, {});
    });
}

} // namespace

BENCHMARK(BM_NoiseCopy)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_NoiseEstimate)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_NoiseReduce)->Args({3, 0})->Args({3, 1})->Args({1, 0})->Args({10, 0})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_NoiseWholeEngine)->Unit(benchmark::kMillisecond);
