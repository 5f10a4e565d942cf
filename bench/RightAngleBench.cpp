// The flip and right-angle kernels on a 24-megapixel photo against a plain memcpy of
// the same buffer, the yardstick: each kernel reads and writes every byte once.
// Bytes per second count the picture's bytes once per run.

#include "filters/flip-rotate/FlipRotateKernels.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

namespace {

constexpr int kWidth = 6000;
constexpr int kHeight = 4000;
constexpr ptrdiff_t kStride = kWidth * 4;
constexpr size_t kImageBytes = static_cast<size_t>(kStride) * kHeight;

// Two touched buffers, so that page faults stay out of the timings.
struct Images {
    std::vector<uint32_t> source;
    std::vector<uint32_t> destination;

    Images() : source(static_cast<size_t>(kWidth) * kHeight), destination(source.size())
    {
        for (size_t i = 0; i < source.size(); ++i) source[i] = static_cast<uint32_t>(i * 2654435761u);
    }
    uint8_t* From() { return reinterpret_cast<uint8_t*>(source.data()); }
    uint8_t* To() { return reinterpret_cast<uint8_t*>(destination.data()); }
};

Images& SharedImages()
{
    static Images images;
    return images;
}

template <class Kernel>
void Measure(benchmark::State& state, Kernel kernel)
{
    Images& images = SharedImages();
    for (auto _ : state) {
        kernel(images);
        benchmark::DoNotOptimize(images.destination.data());
        benchmark::DoNotOptimize(images.source.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(kImageBytes));
}

void BM_Memcpy(benchmark::State& state)
{
    Measure(state, [](Images& images) { std::memcpy(images.To(), images.From(), kImageBytes); });
}

void BM_FlipHorizontal(benchmark::State& state)
{
    Measure(state, [](Images& images) { FlipHorizontal({images.From(), kStride, kWidth, kHeight}, {}); });
}

void BM_FlipVertical(benchmark::State& state)
{
    std::vector<uint8_t> line(kStride);
    Measure(state, [&](Images& images) { FlipVertical(images.From(), kStride, kStride, kHeight, line.data()); });
}

void MeasureTurn(benchmark::State& state, QuarterTurn turn)
{
    Measure(state, [turn](Images& images) {
        turn({images.From(), kStride, kWidth, kHeight}, {images.To(), kHeight * 4, kHeight, kWidth});
    });
}

void MeasureHalfTurn(benchmark::State& state, RowReverser reverse)
{
    Measure(state, [reverse](Images& images) {
        Rotate180({images.From(), kStride, kWidth, kHeight}, {images.To(), kStride, kWidth, kHeight}, reverse, {});
    });
}

void BM_Rotate180(benchmark::State& state)
{
    MeasureHalfTurn(state, ReverseRowInto);
}

void BM_Rotate180Sse2(benchmark::State& state)
{
    MeasureHalfTurn(state, ReverseRowIntoSse2);
}

void BM_Rotate90ClockWise(benchmark::State& state)
{
    MeasureTurn(state, Rotate90ClockWise);
}

void BM_Rotate90ClockWiseSse2(benchmark::State& state)
{
    MeasureTurn(state, Rotate90ClockWiseSse2);
}

void BM_Rotate90CounterClockWise(benchmark::State& state)
{
    MeasureTurn(state, Rotate90CounterClockWise);
}

void BM_Rotate90CounterClockWiseSse2(benchmark::State& state)
{
    MeasureTurn(state, Rotate90CounterClockWiseSse2);
}

} // namespace

BENCHMARK(BM_Memcpy)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FlipHorizontal)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FlipVertical)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Rotate180)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Rotate180Sse2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Rotate90ClockWise)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Rotate90ClockWiseSse2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Rotate90CounterClockWise)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Rotate90CounterClockWiseSse2)->Unit(benchmark::kMillisecond);
