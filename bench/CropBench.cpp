// The crop on a 12-megapixel picture: the reference host's crop, which makes a new
// image and copies the rectangle's rows into it, beside a single memcpy of the same
// bytes. Twice: into an image made beforehand (the copy alone, what the side-by-side
// table compares) and end to end with the new image's allocation, whose pages are
// first touched by the copy. The rectangle is the middle 3000 x 2000, so every row is
// a partial row of the source. Bytes per second count the cropped bytes.

#include "platform/RefCount.h"
#include "refhost/HostImage.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

constexpr int kWidth = 4000;
constexpr int kHeight = 3000;
constexpr int kLeft = kWidth / 8;
constexpr int kTop = kHeight / 6;
constexpr int kCropWidth = kWidth * 3 / 4;
constexpr int kCropHeight = kHeight * 2 / 3;
constexpr size_t kCropBytes = size_t{4} * kCropWidth * kCropHeight;

struct Pictures {
    std::vector<uint32_t> source;
    std::vector<uint32_t> cropped;

    Pictures() : source(static_cast<size_t>(kWidth) * kHeight), cropped(static_cast<size_t>(kCropWidth) * kCropHeight)
    {
        for (size_t i = 0; i < source.size(); ++i) source[i] = static_cast<uint32_t>(i * 2654435761u);
    }
};

Pictures& SharedPictures()
{
    static Pictures pictures;
    return pictures;
}

void Finish(benchmark::State& state)
{
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(kCropBytes));
}

// The host's loop: one memcpy per row of the rectangle.
void BM_CropRowsIntoMadeImage(benchmark::State& state)
{
    Pictures& pictures = SharedPictures();
    for (auto _ : state) {
        for (int y = 0; y < kCropHeight; ++y) {
            std::memcpy(pictures.cropped.data() + size_t{kCropWidth} * y,
                        pictures.source.data() + size_t{kWidth} * (kTop + y) + kLeft, size_t{4} * kCropWidth);
        }
        benchmark::DoNotOptimize(pictures.cropped.data());
        benchmark::ClobberMemory();
    }
    Finish(state);
}

void BM_MemcpySameBytesIntoMadeImage(benchmark::State& state)
{
    Pictures& pictures = SharedPictures();
    for (auto _ : state) {
        std::memcpy(pictures.cropped.data(), pictures.source.data(), kCropBytes);
        benchmark::DoNotOptimize(pictures.cropped.data());
        benchmark::ClobberMemory();
    }
    Finish(state);
}

void BM_HostCrop(benchmark::State& state)
{
    CHostImage* source = CHostImage::Create(kWidth, kHeight);
    if (source == nullptr) {
        state.SkipWithError("no memory for the source");
        return;
    }
    std::memcpy(source->GetPixels(), SharedPictures().source.data(), size_t{4} * kWidth * kHeight);
    for (auto _ : state) {
        IUnknown* cropped = nullptr;
        if (!source->Crop(kLeft, kTop, kLeft + kCropWidth, kTop + kCropHeight, &cropped)) {
            state.SkipWithError("the crop failed");
            break;
        }
        benchmark::DoNotOptimize(cropped);
        cropped->Release();
    }
    source->Release();
    Finish(state);
}

// The yardstick for the host's crop: a new zeroed buffer (as the host's image is),
// one memcpy into it, and freeing it.
void BM_MemcpySameBytesIntoNewBuffer(benchmark::State& state)
{
    const uint32_t* source = SharedPictures().source.data();
    for (auto _ : state) {
        void* buffer = std::calloc(kCropBytes, 1);
        if (buffer == nullptr) {
            state.SkipWithError("no memory");
            break;
        }
        std::memcpy(buffer, source, kCropBytes);
        benchmark::DoNotOptimize(buffer);
        benchmark::ClobberMemory();
        std::free(buffer);
    }
    Finish(state);
}

} // namespace

BENCHMARK(BM_CropRowsIntoMadeImage)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MemcpySameBytesIntoMadeImage)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HostCrop)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MemcpySameBytesIntoNewBuffer)->Unit(benchmark::kMillisecond);
