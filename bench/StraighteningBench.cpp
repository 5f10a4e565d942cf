// The straightening detection at four picture sizes, whole and its first pass alone.
// The first pass reads every source pixel once and averages the picture down to at
// most 640 pixels on the longer side; everything after it works at that size, so its
// cost is the same for every picture bigger than that. The whole detection should
// therefore grow by the first pass's cost per pixel and no more.
//
// The picture: dark and light bands tilted by 2 degrees, of three widths so that the
// edges do not repeat evenly, with a little noise. The counter angle_degrees shows
// that the detection found the tilt; a benchmark of a run that finds nothing would
// not time the edge chains and the line fits.

#include "filters/shared/straightening/BrightnessReduction.h"
#include "filters/shared/straightening/StraighteningAngle.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <map>
#include <numbers>
#include <utility>
#include <vector>

namespace {

constexpr double kTiltDegrees = 2.0;

struct Picture {
    int width;
    int height;
    std::vector<uint32_t> pixels;

    PixelRows Rows() { return {reinterpret_cast<uint8_t*>(pixels.data()), ptrdiff_t{4} * width, width, height}; }
};

Picture TiltedBands(int width, int height)
{
    Picture picture{width, height, std::vector<uint32_t>(static_cast<size_t>(width) * height)};
    const double slope = std::tan(kTiltDegrees / 180.0 * std::numbers::pi);
    // Band widths in thousandths of the height.
    const int widths[] = {37, 61, 23};
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const double along = (y + slope * x) * 1000.0 / height;
            const auto band = static_cast<int64_t>(std::floor(along / (widths[0] + widths[1] + widths[2]) * 3));
            const uint32_t level = band % 2 == 0 ? 70u : 180u;
            const uint32_t noise = static_cast<uint32_t>((x * 2654435761u) ^ (y * 40503u)) >> 28;
            const uint32_t value = level + noise;
            picture.pixels[static_cast<size_t>(y) * width + x] = value * 0x010101u;
        }
    }
    return picture;
}

// Pictures are made once per size: 24 megapixels take a moment to draw.
Picture& PictureOf(int width, int height)
{
    static std::map<std::pair<int, int>, Picture> pictures;
    auto found = pictures.find({width, height});
    if (found == pictures.end()) {
        found = pictures.emplace(std::make_pair(width, height), TiltedBands(width, height)).first;
    }
    return found->second;
}

void Counters(benchmark::State& state, const Picture& picture)
{
    const double pixels = static_cast<double>(picture.width) * picture.height;
    state.counters["MP"] = pixels / 1e6;
    // Seconds of processor time per source pixel.
    state.counters["per_pixel"] =
        benchmark::Counter(pixels, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void BM_DetectStraighteningAngle(benchmark::State& state)
{
    Picture& picture = PictureOf(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    float angle = 0.0f;
    for (auto _ : state) {
        angle = DetectStraighteningAngle(picture.Rows(), {}, kStraighteningEdgePadding, kStraighteningThreshold);
        benchmark::DoNotOptimize(angle);
    }
    if (angle == 0.0f) state.SkipWithError("no tilt found");
    state.counters["angle_degrees"] = angle * 180.0 / std::numbers::pi;
    Counters(state, picture);
}

void BM_ReduceBrightness(benchmark::State& state)
{
    Picture& picture = PictureOf(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    const WorkingSize size = WorkingSizeOf(picture.width, picture.height);
    WorkingPlane<uint8_t> plane;
    for (auto _ : state) {
        StageProgress progress({}, picture.height + size.height);
        if (!ReduceBrightness(picture.Rows(), size, plane, progress)) state.SkipWithError("the reduction stopped");
        benchmark::DoNotOptimize(plane.values.data());
    }
    Counters(state, picture);
}

// 1, 3, 12 and 24 megapixels, all 4:3 or 3:2 like camera pictures.
void Sizes(benchmark::internal::Benchmark* benchmark)
{
    benchmark->Args({1152, 864})->Args({2000, 1500})->Args({4000, 3000})->Args({6000, 4000});
    benchmark->Unit(benchmark::kMillisecond);
}

} // namespace

BENCHMARK(BM_DetectStraighteningAngle)->Apply(Sizes);
BENCHMARK(BM_ReduceBrightness)->Apply(Sizes);
