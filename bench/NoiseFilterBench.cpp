// Adding noise to a 12-megapixel picture, single thread, beside a plain copy of the
// same bytes as the yardstick: the whole kernel as the filter runs it (the runtime's
// rand(), one draw per channel), the draws alone, and the pixel loop alone with
// draws that cost next to nothing. Removal is timed in NoiseBench.cpp.

#include "filters/noise/NoiseAddKernel.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

constexpr int kWidth = 4000;
constexpr int kHeight = 3000;
constexpr size_t kBytes = size_t{kWidth} * kHeight * 4;
constexpr double kAmount = 0.2;  // the dialog's start
constexpr unsigned kSeed = 1700000000u;

const std::vector<uint8_t>& Photo()
{
    static const std::vector<uint8_t> pixels = [] {
        std::vector<uint8_t> made(kBytes);
        for (int y = 0; y < kHeight; ++y) {
            for (int x = 0; x < kWidth; ++x) {
                uint8_t* pixel = made.data() + (size_t{4} * (size_t{kWidth} * y + x));
                pixel[0] = static_cast<uint8_t>(180 - x / 40);
                pixel[1] = static_cast<uint8_t>(60 + y / 25);
                pixel[2] = static_cast<uint8_t>(50 + x / 25);
                pixel[3] = 0xFF;
            }
        }
        return made;
    }();
    return pixels;
}

// A counter stepped by a large odd number: every value of 0..32767 in turn, at the
// cost of an add and a mask.
class CCheapDraws final : public CNoiseDraws {
public:
    void Fill(int* draws, size_t count) override
    {
        for (size_t i = 0; i < count; ++i) draws[i] = static_cast<int>(m_state = (m_state + 12345u) & 0x7FFFu);
    }

private:
    unsigned m_state = 0;
};

// The work picture, refilled from the photo outside the timing before each run,
// since the kernel changes its picture in place.
class AddNoisePicture : public benchmark::Fixture {
protected:
    PixelRows Fresh(benchmark::State& state)
    {
        state.PauseTiming();
        m_work = Photo();
        state.ResumeTiming();
        return {m_work.data(), ptrdiff_t{4} * kWidth, kWidth, kHeight};
    }

    static void CountBytes(benchmark::State& state)
    {
        state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(kBytes));
    }

private:
    std::vector<uint8_t> m_work;
};

} // namespace

BENCHMARK_DEFINE_F(AddNoisePicture, Copy)(benchmark::State& state)
{
    for (auto _ : state) {
        const PixelRows picture = Fresh(state);
        std::memcpy(picture.bits, Photo().data(), kBytes);
        benchmark::ClobberMemory();
    }
    CountBytes(state);
}

BENCHMARK_DEFINE_F(AddNoisePicture, AddNoise)(benchmark::State& state)
{
    for (auto _ : state) {
        const PixelRows picture = Fresh(state);
        CProcessRandomDraws draws(kSeed);
        benchmark::DoNotOptimize(AddNoise(picture, kAmount, draws, {}));
        benchmark::ClobberMemory();
    }
    CountBytes(state);
}

BENCHMARK_DEFINE_F(AddNoisePicture, DrawsOnly)(benchmark::State& state)
{
    std::vector<int> row(size_t{3} * kWidth);
    for (auto _ : state) {
        CProcessRandomDraws draws(kSeed);
        for (int y = 0; y < kHeight; ++y) draws.Fill(row.data(), row.size());
        benchmark::DoNotOptimize(row.data());
    }
    CountBytes(state);
}

BENCHMARK_DEFINE_F(AddNoisePicture, PixelLoopOnly)(benchmark::State& state)
{
    for (auto _ : state) {
        const PixelRows picture = Fresh(state);
        CCheapDraws draws;
        benchmark::DoNotOptimize(AddNoise(picture, kAmount, draws, {}));
        benchmark::ClobberMemory();
    }
    CountBytes(state);
}

BENCHMARK_REGISTER_F(AddNoisePicture, Copy)->Unit(benchmark::kMillisecond);
BENCHMARK_REGISTER_F(AddNoisePicture, AddNoise)->Unit(benchmark::kMillisecond);
BENCHMARK_REGISTER_F(AddNoisePicture, DrawsOnly)->Unit(benchmark::kMillisecond);
BENCHMARK_REGISTER_F(AddNoisePicture, PixelLoopOnly)->Unit(benchmark::kMillisecond);
