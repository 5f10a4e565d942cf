// The hot pixel fixer on a 12-megapixel picture, single thread, beside a plain copy of
// the same bytes: the whole fix on the picture as it is and with a thousand hot
// pixels planted in it, and each stage of the fix alone, to show where the time goes.
// The picture has a sky-like ramp, darker blocks and grain of a few levels, so the
// detection meets many local maxima that its later rules turn down, as on a photo.

#include "filters/hot-pixels/HotPixelKernels.h"
#include "filters/shared/noise/NoiseEngine.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

constexpr int kWidth = 4000;
constexpr int kHeight = 3000;
constexpr size_t kBytes = size_t{kWidth} * kHeight * 4;
constexpr int kPlanted = 1000;

uint32_t Level(int value)
{
    return static_cast<uint32_t>(std::clamp(value, 0, 255));
}

std::vector<uint32_t> MakeScene(bool planted)
{
    std::vector<uint32_t> pixels(size_t{kWidth} * kHeight);
    uint32_t state = 271828;
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            state = state * 22695477u + 1u;
            const int grain = static_cast<int>(state >> 27) - 16;  // -16..15
            const int shade = (x / 400 + y / 500) % 3 == 0 ? -70 : 0;
            const int sky = 60 + y / 40 + shade;
            pixels[size_t{kWidth} * y + x] =
                Level(sky + grain) << 16 | Level(sky + 20 + grain / 2) << 8 | Level(sky + 40 + grain);
        }
    }
    if (planted) {
        // On a grid 80 columns by 140 rows apart, beyond the isolation limit of 60.
        for (int i = 0; i < kPlanted; ++i) {
            const int x = 50 + (i % 49) * 80;
            const int y = 50 + (i / 49) * 140;
            pixels[size_t{kWidth} * y + x] = 0x00FFFFFFu;
        }
    }
    return pixels;
}

const std::vector<uint32_t>& Scene(bool planted)
{
    static const std::vector<uint32_t> plain = MakeScene(false);
    static const std::vector<uint32_t> dotted = MakeScene(true);
    return planted ? dotted : plain;
}

class HotPixelPicture : public benchmark::Fixture {
protected:
    // The work picture, refilled outside the timing, since every stage changes it.
    PixelRows Fresh(benchmark::State& state, const std::vector<uint32_t>& from)
    {
        state.PauseTiming();
        m_work = from;
        state.ResumeTiming();
        return {reinterpret_cast<uint8_t*>(m_work.data()), ptrdiff_t{4} * kWidth, kWidth, kHeight};
    }

    static void CountBytes(benchmark::State& state)
    {
        state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(kBytes));
    }

    std::vector<uint32_t> m_work;
};

// The candidates of the noise-reduced, keyed scene, found once for the repair stage.
const std::vector<HotPixel>& KeptCandidates(bool planted)
{
    static std::vector<HotPixel> found[2];
    std::vector<HotPixel>& kept = found[planted ? 1 : 0];
    if (kept.empty()) {
        std::vector<uint32_t> copy = Scene(planted);
        const PixelRows rows{reinterpret_cast<uint8_t*>(copy.data()), ptrdiff_t{4} * kWidth, kWidth, kHeight};
        NoiseLevels levels;
        ReduceNoiseOfWhole(rows, {}, true, levels, {}, {});
        PhaseCount count({}, 0);
        std::vector<HotPixel> candidates;
        KeyRowsByMean(rows, count);
        FindHotPixels(rows, 60, count, candidates);
        kept = KeepIsolated(candidates, IsolationLimit(kWidth, kHeight));
    }
    return kept;
}

} // namespace

BENCHMARK_DEFINE_F(HotPixelPicture, Copy)(benchmark::State& state)
{
    for (auto _ : state) {
        const PixelRows picture = Fresh(state, Scene(false));
        std::memcpy(picture.bits, Scene(true).data(), kBytes);
        benchmark::ClobberMemory();
    }
    CountBytes(state);
}

// The whole fix at intensity 60; range(0) 1 with the planted hot pixels.
BENCHMARK_DEFINE_F(HotPixelPicture, Fix)(benchmark::State& state)
{
    const bool planted = state.range(0) != 0;
    int64_t repaired = 0;
    for (auto _ : state) {
        const PixelRows picture = Fresh(state, Scene(planted));
        FixHotPixels(picture, 60, {}, {});
        benchmark::ClobberMemory();
        state.PauseTiming();
        for (size_t i = 0; i < m_work.size(); ++i) repaired += m_work[i] != Scene(planted)[i];
        state.ResumeTiming();
    }
    state.counters["changed_pixels"] = benchmark::Counter(static_cast<double>(repaired) / state.iterations());
    CountBytes(state);
}

// Phase one: the noise engine's estimate and reduction of the work copy.
BENCHMARK_DEFINE_F(HotPixelPicture, NoisePhase)(benchmark::State& state)
{
    for (auto _ : state) {
        NoiseLevels levels;
        ReduceNoiseOfWhole(Fresh(state, Scene(true)), {}, true, levels, {}, {});
        benchmark::ClobberMemory();
    }
    CountBytes(state);
}

// One mean pass (phase two runs two, and one clearing pass like it).
BENCHMARK_DEFINE_F(HotPixelPicture, MeanPass)(benchmark::State& state)
{
    for (auto _ : state) {
        PhaseCount count({}, 0);
        KeyRowsByMean(Fresh(state, Scene(true)), count);
        benchmark::ClobberMemory();
    }
    CountBytes(state);
}

// The detection on the keyed scene as phase two meets it (not noise-reduced here).
BENCHMARK_DEFINE_F(HotPixelPicture, Detection)(benchmark::State& state)
{
    std::vector<uint32_t> keyed = Scene(true);
    PhaseCount keying({}, 0);
    KeyRowsByMean({reinterpret_cast<uint8_t*>(keyed.data()), ptrdiff_t{4} * kWidth, kWidth, kHeight}, keying);
    size_t found = 0;
    for (auto _ : state) {
        PhaseCount count({}, 0);
        std::vector<HotPixel> candidates;
        FindHotPixels(Fresh(state, keyed), 60, count, candidates);
        found = candidates.size();
    }
    state.counters["candidates"] = static_cast<double>(found);
    CountBytes(state);
}

// The repairs of the kept candidates, each a diamond of 145 selections.
BENCHMARK_DEFINE_F(HotPixelPicture, Repairs)(benchmark::State& state)
{
    const std::vector<HotPixel>& kept = KeptCandidates(true);
    for (auto _ : state) {
        const PixelRows picture = Fresh(state, Scene(true));
        for (const HotPixel& centre : kept) RepairHotPixel(picture, centre);
        benchmark::ClobberMemory();
    }
    state.counters["repaired"] = static_cast<double>(kept.size());
}

BENCHMARK_REGISTER_F(HotPixelPicture, Copy)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK_REGISTER_F(HotPixelPicture, Fix)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK_REGISTER_F(HotPixelPicture, NoisePhase)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK_REGISTER_F(HotPixelPicture, MeanPass)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK_REGISTER_F(HotPixelPicture, Detection)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK_REGISTER_F(HotPixelPicture, Repairs)->Unit(benchmark::kMillisecond)->Iterations(5);
