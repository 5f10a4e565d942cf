// The three frame types on a 12-megapixel picture with their panels' start values,
// single thread, each beside a plain copy of the bands it touches (whole rows across
// the top and bottom bands, the side columns in between), the least any frame must
// move. The frames blend in double per channel; the copy only moves bytes.

#include "filters/frames/DoubleFrame.h"
#include "filters/frames/FadingFrame.h"
#include "filters/frames/FrameBlend.h"
#include "filters/frames/SingleFrame.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

constexpr int kWidth = 4000;
constexpr int kHeight = 3000;

std::vector<uint32_t> MakeScene()
{
    std::vector<uint32_t> pixels(size_t{kWidth} * kHeight);
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            const auto level = [](int v) { return static_cast<uint32_t>(v & 0xFF); };
            pixels[size_t{kWidth} * y + x] = level(x / 16 + y / 12) << 16 | level(x / 9) << 8 | level(y / 7);
        }
    }
    return pixels;
}

PixelRows RowsOf(std::vector<uint32_t>& pixels)
{
    return {reinterpret_cast<uint8_t*>(pixels.data()), ptrdiff_t{4} * kWidth, kWidth, kHeight};
}

// Copies rows 0..across-1 and the last across rows whole, and the first and last side
// pixels of the rows between; answers the bytes copied.
int64_t CopyBands(const PixelRows& from, const PixelRows& to, int across, int side)
{
    int64_t bytes = 0;
    for (int y = 0; y < kHeight; ++y) {
        if (y < across || y >= kHeight - across) {
            std::memcpy(to.Row(y), from.Row(y), size_t{4} * kWidth);
            bytes += 4 * kWidth;
        } else {
            std::memcpy(to.Row(y), from.Row(y), size_t{4} * side);
            std::memcpy(to.Row(y) + kWidth - side, from.Row(y) + kWidth - side, size_t{4} * side);
            bytes += 8 * side;
        }
    }
    return bytes;
}

// The band sizes of each type with its start values on this picture.
int SingleBand() { return FrameThickness(kWidth, kHeight, SingleFrameSettings{}.thick); }
int DoubleBand() { return FrameThickness(kWidth, kHeight, DoubleFrameSettings{}.outerThick); }

template <class Draw>
void RunFrame(benchmark::State& state, Draw draw)
{
    std::vector<uint32_t> pixels = MakeScene();
    const PixelRows rows = RowsOf(pixels);
    for (auto _ : state) {
        draw(rows);
        benchmark::ClobberMemory();
    }
}

void RunCopy(benchmark::State& state, int across, int side)
{
    std::vector<uint32_t> from = MakeScene();
    std::vector<uint32_t> to(from.size());
    const PixelRows source = RowsOf(from);
    const PixelRows target = RowsOf(to);
    int64_t bytes = 0;
    for (auto _ : state) {
        bytes += CopyBands(source, target, across, side);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(bytes);
}

void BM_SingleFrame(benchmark::State& state)
{
    RunFrame(state, [](const PixelRows& rows) { DrawSingleFrame(rows, SingleFrameSettings{}, {}); });
}

void BM_SingleFrameBandCopy(benchmark::State& state)
{
    RunCopy(state, SingleBand(), SingleBand());
}

void BM_DoubleFrame(benchmark::State& state)
{
    RunFrame(state, [](const PixelRows& rows) { DrawDoubleFrame(rows, DoubleFrameSettings{}, {}); });
}

void BM_DoubleFrameBandCopy(benchmark::State& state)
{
    RunCopy(state, DoubleBand(), DoubleBand());
}

void BM_FadingFrame(benchmark::State& state)
{
    RunFrame(state, [](const PixelRows& rows) { DrawFadingFrame(rows, FadingFrameSettings{}, {}); });
}

void BM_FadingFrameBandCopy(benchmark::State& state)
{
    const FadingFrameLayout layout = FadingLayout(kWidth, kHeight, FadingFrameSettings{});
    RunCopy(state, layout.v, layout.u);
}

} // namespace

BENCHMARK(BM_SingleFrame)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SingleFrameBandCopy)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DoubleFrame)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DoubleFrameBandCopy)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FadingFrame)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FadingFrameBandCopy)->Unit(benchmark::kMillisecond);
