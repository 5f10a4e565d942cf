// The free rotation's bilinear and nearest loops on a 12-megapixel picture, whole
// turned picture kept, one variant of the interior span at a time. The angle is the
// benchmark's argument in tenths of a degree: near zero the source is read almost
// row by row, at 10 and 45 degrees each output row crosses hundreds of source rows.
// Bytes per second count the output's bytes. Each vector variant's output is checked
// against the portable loop's once its timing is done.

#include "filters/rotate/RotateKernel.h"
#include "platform/CpuFeatures.h"

#include <benchmark/benchmark.h>

#include <map>
#include <numbers>
#include <optional>
#include <vector>

namespace {

constexpr int kWidth = 4000;
constexpr int kHeight = 3000;
constexpr uint32_t kBackground = 0x00FFFFFFu;

const std::vector<uint32_t>& SourcePixels()
{
    static const std::vector<uint32_t> pixels = [] {
        std::vector<uint32_t> values(static_cast<size_t>(kWidth) * kHeight);
        for (size_t i = 0; i < values.size(); ++i) values[i] = static_cast<uint32_t>(i * 2654435761u);
        return values;
    }();
    return pixels;
}

PixelRows RowsOf(uint32_t* pixels, int width, int height)
{
    return {reinterpret_cast<uint8_t*>(pixels), ptrdiff_t{4} * width, width, height};
}

RotationLayout LayoutOf(const benchmark::State& state, RotationSampling sampling)
{
    const double theta = static_cast<double>(state.range(0)) / 1800.0 * std::numbers::pi;
    return PlanRotation(kWidth, kHeight, theta, kRotationKeepWhole, sampling).value();
}

// Runs rotate(source, target, layout) into a target made and touched beforehand.
template <class Rotate>
void Measure(benchmark::State& state, RotationSampling sampling, Rotate rotate)
{
    const RotationLayout layout = LayoutOf(state, sampling);
    std::vector<uint32_t> target(static_cast<size_t>(layout.width) * layout.height, 0u);
    const PixelRows source = RowsOf(const_cast<uint32_t*>(SourcePixels().data()), kWidth, kHeight);
    const PixelRows output = RowsOf(target.data(), layout.width, layout.height);
    for (auto _ : state) {
        if (!rotate(source, output, layout)) state.SkipWithError("the rotation stopped");
        benchmark::DoNotOptimize(target.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(target.size() * 4));
    state.counters["output_MP"] = static_cast<double>(target.size()) / 1e6;
}

// The portable loop's output at the benchmark's angle, made once per angle: every
// variant must give these bits, here on rows far longer than the tests' (the corners'
// background spans run in several pieces).
const std::vector<uint32_t>& PortableOutput(const benchmark::State& state)
{
    static std::map<int64_t, std::vector<uint32_t>> outputs;
    auto found = outputs.find(state.range(0));
    if (found != outputs.end()) return found->second;
    const RotationLayout layout = LayoutOf(state, RotationSampling::Bilinear);
    std::vector<uint32_t> output(static_cast<size_t>(layout.width) * layout.height);
    RotateBilinear(RowsOf(const_cast<uint32_t*>(SourcePixels().data()), kWidth, kHeight),
                   RowsOf(output.data(), layout.width, layout.height), layout, kBackground, &BilinearInteriorSpan, {});
    return outputs.emplace(state.range(0), std::move(output)).first->second;
}

void MeasureBilinear(benchmark::State& state, InteriorSpan interior, bool (*available)())
{
    if (available != nullptr && !available()) {
        state.SkipWithError("the processor lacks the instructions");
        return;
    }
    Measure(state, RotationSampling::Bilinear, [interior](const PixelRows& source, const PixelRows& output,
                                                          const RotationLayout& layout) {
        return RotateBilinear(source, output, layout, kBackground, interior, {});
    });
    if (interior == &BilinearInteriorSpan) return;
    const RotationLayout layout = LayoutOf(state, RotationSampling::Bilinear);
    std::vector<uint32_t> output(static_cast<size_t>(layout.width) * layout.height);
    RotateBilinear(RowsOf(const_cast<uint32_t*>(SourcePixels().data()), kWidth, kHeight),
                   RowsOf(output.data(), layout.width, layout.height), layout, kBackground, interior, {});
    if (output != PortableOutput(state)) state.SkipWithError("the variant's bits differ from the portable loop's");
}

void BM_RotateBilinearPortable(benchmark::State& state)
{
    MeasureBilinear(state, &BilinearInteriorSpan, nullptr);
}

void BM_RotateBilinearSse2(benchmark::State& state)
{
    MeasureBilinear(state, &BilinearInteriorSpanSse2, &CpuHasSse2);
}

void BM_RotateBilinearAvx2(benchmark::State& state)
{
    MeasureBilinear(state, &BilinearInteriorSpanAvx2, &CpuHasAvx2);
}

// What the filter runs: the plan and the chosen variant.
void BM_RotatePixelsBilinear(benchmark::State& state)
{
    Measure(state, RotationSampling::Bilinear,
            [&state](const PixelRows& source, const PixelRows& output, const RotationLayout&) {
                const RotationLayout planned = LayoutOf(state, RotationSampling::Bilinear);
                return RotatePixels(source, output, planned, kBackground, RotationSampling::Bilinear, {});
            });
}

void BM_RotatePixelsNearest(benchmark::State& state)
{
    Measure(state, RotationSampling::Nearest, [](const PixelRows& source, const PixelRows& output,
                                                 const RotationLayout& layout) {
        return RotatePixels(source, output, layout, kBackground, RotationSampling::Nearest, {});
    });
}

} // namespace

// Angles in tenths of a degree.
BENCHMARK(BM_RotateBilinearPortable)->Arg(100)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RotateBilinearSse2)->Arg(100)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RotateBilinearAvx2)->Arg(5)->Arg(100)->Arg(450)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RotatePixelsBilinear)->Arg(100)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RotatePixelsNearest)->Arg(100)->Unit(benchmark::kMillisecond);
