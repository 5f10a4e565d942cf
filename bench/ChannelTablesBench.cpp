// The channel-table mapping on a 24-megapixel picture, each variant beside a plain
// copy of the same buffer (the memory-speed yardstick).

#include "filters/shared/channel-tables/ChannelMapper.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstring>
#include <numeric>
#include <vector>

namespace {

constexpr int kWidth = 6000;
constexpr int kHeight = 4000;
constexpr size_t kBytes = size_t{kWidth} * kHeight * 4;

std::vector<uint8_t> Photo()
{
    std::vector<uint8_t> pixels(kBytes);
    uint32_t state = 12345;
    for (auto& byte : pixels) {
        state = state * 1664525u + 1013904223u;
        byte = static_cast<uint8_t>(state >> 24);
    }
    return pixels;
}

void MapWith(benchmark::State& state, bool vector)
{
    std::vector<uint8_t> pixels = Photo();
    uint8_t table[256];
    std::iota(table, table + 256, 0);
    std::reverse(table, table + 256);
    for (auto _ : state) {
        // Prepared per picture, as every apply does.
        const CChannelMapper mapper({table, table, table}, vector);
        for (int y = 0; y < kHeight; ++y) mapper.MapRow(pixels.data() + size_t{4} * kWidth * y, kWidth);
        benchmark::DoNotOptimize(pixels.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(kBytes));
}

void BM_ChannelTablesPortable(benchmark::State& state)
{
    MapWith(state, false);
}

void BM_ChannelTablesAvx2(benchmark::State& state)
{
    if (!__builtin_cpu_supports("avx2")) {
        state.SkipWithError("no AVX2");
        return;
    }
    MapWith(state, true);
}

void BM_ChannelTablesMemcpy(benchmark::State& state)
{
    const std::vector<uint8_t> source = Photo();
    std::vector<uint8_t> target(kBytes);
    for (auto _ : state) {
        std::memcpy(target.data(), source.data(), kBytes);
        benchmark::DoNotOptimize(target.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(kBytes));
}

} // namespace

BENCHMARK(BM_ChannelTablesPortable)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ChannelTablesAvx2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ChannelTablesMemcpy)->Unit(benchmark::kMillisecond);
