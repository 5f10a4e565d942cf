// Invert, Vignetting, the level counts and a channel table on a 12-megapixel picture,
// each beside a plain copy of the same bytes, the yardstick the targets are set
// against: Invert and the table within 1.5 times a copy, the counts within 2 times,
// Vignetting within 3 times. Every kernel runs on a fresh copy, made outside the
// timing, since each changes its picture in place. The plain cases run the loops
// chosen for this processor; the Portable ones the loops that define the results.

#include "filters/invert/InvertKernel.h"
#include "filters/shared/channel-tables/ChannelMapper.h"
#include "filters/shared/channel-tables/ChannelTables.h"
#include "filters/shared/histograms/ChannelHistograms.h"
#include "filters/vignetting/VignettingKernel.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <numeric>
#include <vector>

namespace {

constexpr int kWidth = 4000;
constexpr int kHeight = 3000;
constexpr size_t kBytes = size_t{kWidth} * kHeight * 4;

const std::vector<uint8_t>& Photo()
{
    static const std::vector<uint8_t> pixels = [] {
        std::vector<uint8_t> made(kBytes);
        uint32_t state = 271828;
        for (auto& byte : made) {
            state = state * 1664525u + 1013904223u;
            byte = static_cast<uint8_t>(state >> 24);
        }
        return made;
    }();
    return pixels;
}

template <class Kernel>
void Measure(benchmark::State& state, Kernel kernel)
{
    std::vector<uint8_t> work(kBytes);
    for (auto _ : state) {
        state.PauseTiming();
        std::memcpy(work.data(), Photo().data(), kBytes);
        state.ResumeTiming();
        kernel(PixelRows{work.data(), ptrdiff_t{4} * kWidth, kWidth, kHeight});
        benchmark::DoNotOptimize(work.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(kBytes));
}

void BM_ToneCopy(benchmark::State& state)
{
    Measure(state, [](const PixelRows& image) { std::memcpy(image.bits, Photo().data(), kBytes); });
}

void BM_Invert(benchmark::State& state)
{
    Measure(state, [](const PixelRows& image) { InvertChannels(image, {true, true, true}); });
}

void BM_Vignetting(benchmark::State& state)
{
    Measure(state, [](const PixelRows& image) { Vignette(image, {}); });
}

void BM_VignettingPortable(benchmark::State& state)
{
    Measure(state, [](const PixelRows& image) { VignetteWith(image, {}, kPortableVignetteLoops); });
}

void BM_ChannelHistograms(benchmark::State& state)
{
    std::vector<uint32_t> counts(kHistogramCountsSize);
    Measure(state, [&counts](const PixelRows& image) {
        CountChannelLevelsWith(image, counts.data(), {}, ChosenLevelRowCounter(), 1);
    });
}

// As the filters count: on every core (BASICFILTERS_THREADS sets how many).
void BM_ChannelHistogramsAllCores(benchmark::State& state)
{
    std::vector<uint32_t> counts(kHistogramCountsSize);
    Measure(state, [&counts](const PixelRows& image) { CountChannelLevels(image, counts.data(), {}); });
}

void BM_ChannelHistogramsPortable(benchmark::State& state)
{
    std::vector<uint32_t> counts(kHistogramCountsSize);
    Measure(state, [&counts](const PixelRows& image) {
        CountChannelLevelsWith(image, counts.data(), {}, &CountLevelsRowPortable, 1);
    });
}

void BM_ExposureTable(benchmark::State& state)
{
    uint8_t table[256];
    std::iota(table, table + 256, 0);
    Measure(state, [&table](const PixelRows& image) { MapChannelTables(image, {table, table, table}, {}); });
}

void BM_ExposureTablePortable(benchmark::State& state)
{
    uint8_t table[256];
    std::iota(table, table + 256, 0);
    Measure(state, [&table](const PixelRows& image) {
        const CChannelMapper mapper({table, table, table}, false);
        for (int y = 0; y < image.height; ++y) mapper.MapRow(image.Bytes(y), image.width);
    });
}

} // namespace

BENCHMARK(BM_ToneCopy)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Invert)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Vignetting)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_VignettingPortable)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ChannelHistograms)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ChannelHistogramsPortable)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ChannelHistogramsAllCores)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ExposureTable)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExposureTablePortable)->Unit(benchmark::kMillisecond);
