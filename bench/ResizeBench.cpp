// The plane resampler on a 24-megapixel photo (6000 x 4000, 32 bits per pixel),
// halved and doubled with each of its three kernels, then each pass variant alone
// on one photo row. Rates count destination megapixels. Run with
// BASICFILTERS_PORTABLE=1 to time the whole resize on the portable passes.
//
// BM_ResizePeakMemory reports how far the resident set grows beyond the source and
// result planes during one Init and Run: the weight tables, the line buffer and the
// edge-row copies. It resets the peak through /proc/self/clear_refs.

#include "filters/resize/ResizeKernelPlane.h"
#include "filters/resize/ResizeKernelWeights.h"
#include "platform/CpuFeatures.h"

#include <benchmark/benchmark.h>

#include <fstream>
#include <string>
#include <vector>

namespace {

constexpr uint32_t kWidth = 6000;
constexpr uint32_t kHeight = 4000;
constexpr double kMegabyte = 1048576.0;

struct Method {
    ResizeKernel kernel;
    int radius;
};

Method MethodOf(int64_t mode)
{
    Method method{};
    KernelOfMode(static_cast<int>(mode), method.kernel, method.radius);
    return method;
}

std::vector<uint8_t> Photo()
{
    std::vector<uint8_t> pixels(static_cast<size_t>(kWidth) * kHeight * 4);
    uint32_t state = 2654435761u;
    for (size_t i = 0; i < pixels.size(); ++i) {
        // Smooth ramps with a little noise, so that no branch or cache sees a flat picture.
        state = state * 1664525u + 1013904223u;
        pixels[i] = static_cast<uint8_t>((i / 4 % kWidth) / 24 + (i / 4 / kWidth) / 16 + (state >> 29));
    }
    return pixels;
}

const std::vector<uint8_t>& SharedPhoto()
{
    static const std::vector<uint8_t> photo = Photo();
    return photo;
}

struct Target {
    uint32_t width;
    uint32_t height;
};

Target TargetOf(int64_t doubled)
{
    return doubled != 0 ? Target{kWidth * 2, kHeight * 2} : Target{kWidth / 2, kHeight / 2};
}

bool ResizeOnce(const std::vector<uint8_t>& photo, std::vector<uint8_t>& result, Target target, Method method)
{
    CPlaneResizer resizer;
    if (!resizer.Init(kWidth, kHeight, target.width, target.height, kWidth * 4, target.width * 4, method.kernel,
                      method.radius, 32)) {
        return false;
    }
    return resizer.Run(result.data(), photo.data(), nullptr);
}

// Arguments: mode (3, 4, 5) and 0 for half size, 1 for double size.
void BM_Resize(benchmark::State& state)
{
    const std::vector<uint8_t>& photo = SharedPhoto();
    const Target target = TargetOf(state.range(1));
    const Method method = MethodOf(state.range(0));
    std::vector<uint8_t> result(static_cast<size_t>(target.width) * target.height * 4, 1);
    for (auto _ : state) {
        if (!ResizeOnce(photo, result, target, method)) state.SkipWithError("Init failed");
        benchmark::DoNotOptimize(result.data());
        benchmark::ClobberMemory();
    }
    const double megapixels = static_cast<double>(target.width) * target.height / 1e6;
    state.counters["dst_MP/s"] =
        benchmark::Counter(megapixels * static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
    state.counters["src_MP/s"] =
        benchmark::Counter(kWidth * static_cast<double>(kHeight) / 1e6 * static_cast<double>(state.iterations()),
                           benchmark::Counter::kIsRate);
}
BENCHMARK(BM_Resize)->ArgsProduct({{3, 4, 5}, {0, 1}})->ArgNames({"mode", "double"})->Unit(benchmark::kMillisecond);

int64_t StatusKilobytes(const std::string& field)
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind(field + ":", 0) == 0) return std::stoll(line.substr(field.size() + 1));
    }
    return -1;
}

bool ResetPeakResidentSet()
{
    std::ofstream clear("/proc/self/clear_refs");
    clear << "5";
    return static_cast<bool>(clear);
}

void BM_ResizePeakMemory(benchmark::State& state)
{
    const std::vector<uint8_t>& photo = SharedPhoto();
    const Target target = TargetOf(state.range(1));
    const Method method = MethodOf(state.range(0));
    std::vector<uint8_t> result(static_cast<size_t>(target.width) * target.height * 4, 1);
    int64_t growth = 0;
    for (auto _ : state) {
        if (!ResetPeakResidentSet()) state.SkipWithError("cannot reset the peak resident set");
        const int64_t before = StatusKilobytes("VmRSS");
        ResizeOnce(photo, result, target, method);
        growth = std::max(growth, StatusKilobytes("VmHWM") - before);
    }
    state.counters["planes_MB"] = static_cast<double>(photo.size() + result.size()) / kMegabyte;
    state.counters["extra_peak_KB"] = static_cast<double>(growth);
}
BENCHMARK(BM_ResizePeakMemory)
    ->ArgsProduct({{3, 5}, {0, 1}})
    ->ArgNames({"mode", "double"})
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

// One row of the photo through one pass variant. Arguments: variant (0 portable,
// 1 SSE2, 2 AVX2) and 0 for Lanczos halving (12 taps), 1 for Lanczos doubling (6 taps).
ResizePasses PassesOf(int64_t variant)
{
    if (variant == 2) return Avx2ResizePasses(32);
    if (variant == 1) return Sse2ResizePasses(32);
    return PortableResizePasses(32);
}

bool VariantRuns(benchmark::State& state)
{
    const bool runs =
        state.range(0) == 0 || (state.range(0) == 1 && CpuHasSse2()) || (state.range(0) == 2 && CpuHasAvx2());
    if (!runs) state.SkipWithError("not offered by this processor");
    return runs;
}

void BM_VerticalPass(benchmark::State& state)
{
    if (!VariantRuns(state)) return;
    const Target target = TargetOf(state.range(1));
    CResizeWeights weights;
    weights.Build(kHeight, target.height, &LanczosKernel, 3);
    const VerticalFilter vertical = PassesOf(state.range(0)).vertical;
    std::vector<uint8_t> line(kWidth * 4);
    const std::vector<uint8_t>& photo = SharedPhoto();
    uint32_t phase = 0;
    for (auto _ : state) {
        vertical(photo.data(), kWidth * 4, weights.Row(phase), weights.Taps(), line.data(), line.size());
        phase = (phase + 1) % weights.Phases();
        benchmark::DoNotOptimize(line.data());
    }
    state.counters["MP/s"] =
        benchmark::Counter(kWidth / 1e6 * static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_VerticalPass)->ArgsProduct({{0, 1, 2}, {0, 1}})->ArgNames({"variant", "double"});

void BM_HorizontalPass(benchmark::State& state)
{
    if (!VariantRuns(state)) return;
    const Target target = TargetOf(state.range(1));
    CResizeWeights weights;
    weights.Build(kWidth, target.width, &LanczosKernel, 3);
    const HorizontalFilter horizontal = PassesOf(state.range(0)).horizontal;
    const std::vector<uint8_t>& photo = SharedPhoto();
    std::vector<uint8_t> line(photo.begin(), photo.begin() + (kWidth + weights.Taps()) * 4);
    std::vector<uint8_t> row(static_cast<size_t>(target.width) * 4);
    for (auto _ : state) {
        horizontal(line.data(), weights.Data(), weights.Taps(), kWidth - 1, target.width - 1, row.data(), target.width);
        benchmark::DoNotOptimize(row.data());
    }
    state.counters["dst_MP/s"] =
        benchmark::Counter(target.width / 1e6 * static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_HorizontalPass)->ArgsProduct({{0, 1, 2}, {0, 1}})->ArgNames({"variant", "double"});

}  // namespace
