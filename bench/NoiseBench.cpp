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

// The work picture, refilled from the photo outside the timing before each run,
// since the reduction changes its picture in place.
class NoisePicture : public benchmark::Fixture {
protected:
    PixelRows Fresh(benchmark::State& state)
    {
        state.PauseTiming();
        m_work = Photo();
        state.ResumeTiming();
        return RowsOf(m_work);
    }

    static void CountBytes(benchmark::State& state)
    {
        state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(kBytes));
    }

private:
    std::vector<uint8_t> m_work;
};

} // namespace

BENCHMARK_DEFINE_F(NoisePicture, Copy)(benchmark::State& state)
{
    for (auto _ : state) {
        const PixelRows picture = Fresh(state);
        std::memcpy(picture.bits, Photo().data(), kBytes);
        benchmark::ClobberMemory();
    }
    CountBytes(state);
}

BENCHMARK_DEFINE_F(NoisePicture, Estimate)(benchmark::State& state)
{
    for (auto _ : state) {
        NoiseLevels estimates;
        EstimateNoiseLevels(Fresh(state), {}, {}, estimates);
        benchmark::DoNotOptimize(estimates);
    }
    CountBytes(state);
}

// The reduction as Autofix and the Noise filter run it: smoothness 3 (or the range's
// ends, and 9 beside 10), red, green and blue or the luma transform, the photo's own
// estimates. Its cost should not grow with the smoothness.
BENCHMARK_DEFINE_F(NoisePicture, Reduce)(benchmark::State& state)
{
    ReductionInputs inputs;
    inputs.radius = static_cast<int>(state.range(0));
    inputs.lumaChannels = state.range(1) != 0;
    inputs.deciding = PhotoLevels();
    inputs.others = PhotoLevels();
    for (auto _ : state) {
        ReduceNoiseOfRows(Fresh(state), inputs, {});
        benchmark::ClobberMemory();
    }
    CountBytes(state);
}

BENCHMARK_DEFINE_F(NoisePicture, WholeEngine)(benchmark::State& state)
{
    for (auto _ : state) {
        NoiseLevels levels;
        ReduceNoiseOfWhole(Fresh(state), {}, true, levels, {}, {});
        benchmark::ClobberMemory();
    }
    CountBytes(state);
}

BENCHMARK_REGISTER_F(NoisePicture, Copy)->Unit(benchmark::kMillisecond);
BENCHMARK_REGISTER_F(NoisePicture, Estimate)->Unit(benchmark::kMillisecond);
BENCHMARK_REGISTER_F(NoisePicture, Reduce)
    ->Args({3, 0})
    ->Args({3, 1})
    ->Args({1, 0})
    ->Args({9, 0})
    ->Args({10, 0})
    ->Unit(benchmark::kMillisecond);
BENCHMARK_REGISTER_F(NoisePicture, WholeEngine)->Unit(benchmark::kMillisecond);
