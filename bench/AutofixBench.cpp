// Colour balance's HSL mode, the colour-cast detection and Autofix's whole apply on a
// 12-megapixel picture, single thread, each beside a plain copy of the same bytes.
//
// The picture is photo-like: bands tilted by 2 degrees (so the rotation fix has a
// tilt to level), a ramp across it, grain, and a warm cast (so the colour fix finds
// one); its levels stay within reach of the exposure stretch. The HSL mode also runs
// on random colours, on which the portable loop's branches cannot be foreseen.
//
// The HSL mode runs the portable loop, which defines the bits, and the loop chosen for
// this processor; after timing, the chosen loop's picture is compared with the
// portable loop's and the benchmark fails when a bit differs. The detection and the
// apply go through the reference host's image: the detection reduces its picture to
// 640 pixels through the image's own resize, timed here alone too.

#include "Common/base/FilterInterfaces.h"
#include "Common/params/ParamList.h"
#include "filters/autofix/AutofixFactory.h"
#include "filters/autofix/AutofixSettings.h"
#include "filters/color-balance/ColorBalanceKernels.h"
#include "filters/flip-rotate/Rot0DegreesFactory.h"
#include "filters/flip-rotate/Rot180Factory.h"
#include "filters/flip-rotate/Rot90ClockWiseFactory.h"
#include "filters/flip-rotate/Rot90CounterClockWiseFactory.h"
#include "filters/rotate/RotateFactory.h"
#include "filters/shared/color-cast/ColorCast.h"
#include "platform/ComPtr.h"
#include "plugin/ModuleFactories.h"
#include "refhost/HostImage.h"
#include "refhost/PluginHost.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <numbers>
#include <vector>

namespace {

constexpr int kWidth = 4000;
constexpr int kHeight = 3000;
constexpr size_t kPixels = size_t{kWidth} * kHeight;
constexpr size_t kBytes = kPixels * 4;
constexpr int kDetectedSide = 640;
constexpr int kBilinear = 4;

// A turn with a fraction, a little more saturation, a little less lightness: every
// branch of the conversions is taken somewhere on the picture.
constexpr HslAdjustment kHslSettings{37.5, 1.2, 0.9};

uint32_t Level(int value)
{
    return static_cast<uint32_t>(std::clamp(value, 0, 255));
}

std::vector<uint32_t> PhotoPixels()
{
    std::vector<uint32_t> pixels(kPixels);
    const double slope = std::tan(2.0 / 180.0 * std::numbers::pi);
    uint32_t state = 314159;
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            const double along = (y + slope * x) / kHeight * 1000.0;
            const auto band = static_cast<int64_t>(std::floor(along / 121.0 * 3));
            const int base = (band % 2 == 0 ? 70 : 160) + x / 100;
            // Grain of about +-8 levels, the sum of two uniform draws.
            state = state * 1664525u + 1013904223u;
            const int grain = static_cast<int>(state >> 28) + static_cast<int>(state >> 24 & 15) - 15;
            pixels[static_cast<size_t>(y) * kWidth + x] = 0xFF000000u | Level(base + 30 + grain) << 16 |
                                                          Level(base + 8 + grain) << 8 | Level(base - 22 + grain);
        }
    }
    return pixels;
}

std::vector<uint32_t> RandomPixels()
{
    std::vector<uint32_t> pixels(kPixels);
    uint32_t state = 271828;
    for (uint32_t& pixel : pixels) {
        state = state * 1664525u + 1013904223u;
        pixel = state;
    }
    return pixels;
}

const std::vector<uint32_t>& Photo()
{
    static const std::vector<uint32_t> pixels = PhotoPixels();
    return pixels;
}

const std::vector<uint32_t>& RandomColours()
{
    static const std::vector<uint32_t> pixels = RandomPixels();
    return pixels;
}

// range(0): 0 for the photo, 1 for random colours.
const std::vector<uint32_t>& PictureOf(const benchmark::State& state)
{
    return state.range(0) == 0 ? Photo() : RandomColours();
}

// The photo in a reference-host image, made once.
CHostImage* PhotoImage()
{
    static const CComPtr<CHostImage> image = [] {
        auto made = CComPtr<CHostImage>::Adopt(CHostImage::Create(kWidth, kHeight));
        std::memcpy(made->GetPixels(), Photo().data(), kBytes);
        return made;
    }();
    return image.Get();
}

PixelRows RowsOf(std::vector<uint32_t>& pixels)
{
    return {reinterpret_cast<uint8_t*>(pixels.data()), ptrdiff_t{4} * kWidth, kWidth, kHeight};
}

void CountBytes(benchmark::State& state)
{
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(kBytes));
}

// The portable loop's picture of each source, made once: the chosen loop must give
// these bits.
const std::vector<uint32_t>& PortableHslPicture(const benchmark::State& state)
{
    static std::array<std::vector<uint32_t>, 2> pictures;
    std::vector<uint32_t>& picture = pictures[static_cast<size_t>(state.range(0))];
    if (picture.empty()) {
        picture = PictureOf(state);
        AdjustHslRowsWith(RowsOf(picture), kHslSettings, {}, &AdjustHslRowPortable);
    }
    return picture;
}

// The loop runs on a fresh copy of the picture each time, made outside the timing.
void MeasureHsl(benchmark::State& state, HslRowLoop loop)
{
    std::vector<uint32_t> work(kPixels);
    for (auto _ : state) {
        state.PauseTiming();
        work = PictureOf(state);
        state.ResumeTiming();
        AdjustHslRowsWith(RowsOf(work), kHslSettings, {}, loop);
        benchmark::DoNotOptimize(work.data());
        benchmark::ClobberMemory();
    }
    CountBytes(state);
    if (work != PortableHslPicture(state)) state.SkipWithError("the loop's bits differ from the portable loop's");
}

void BM_ColorCopy(benchmark::State& state)
{
    std::vector<uint32_t> work(kPixels);
    for (auto _ : state) {
        std::memcpy(work.data(), Photo().data(), kBytes);
        benchmark::DoNotOptimize(work.data());
        benchmark::ClobberMemory();
    }
    CountBytes(state);
}

void BM_HslPortable(benchmark::State& state)
{
    MeasureHsl(state, &AdjustHslRowPortable);
}

void BM_HslChosen(benchmark::State& state)
{
    MeasureHsl(state, ChosenHslRowLoop());
}

// The whole detection, reduction through the host's resize included.
void BM_DetectColorCast(benchmark::State& state)
{
    double gains[3] = {1.0, 1.0, 1.0};
    for (auto _ : state) {
        if (!DetectColorCast(PhotoImage(), nullptr, &gains[0], &gains[1], &gains[2]))
            state.SkipWithError("no colour cast found");
        benchmark::DoNotOptimize(gains);
    }
    state.counters["red_gain"] = gains[0];
    state.counters["blue_gain"] = gains[2];
    CountBytes(state);
}

// The host's copy of the picture into a new image, the first step of every apply.
void BM_HostClone(benchmark::State& state)
{
    for (auto _ : state) {
        CComPtr<IUnknown> clone;
        if (!PhotoImage()->Clone(clone.Receive())) state.SkipWithError("the host did not copy");
        benchmark::DoNotOptimize(clone.Get());
    }
    CountBytes(state);
}

// The detection's reduction alone: the host's bilinear resize to 640 x 480.
void BM_HostResizeTo640(benchmark::State& state)
{
    for (auto _ : state) {
        CComPtr<IUnknown> reduced;
        if (!PhotoImage()->Resize(kDetectedSide, kDetectedSide * kHeight / kWidth, reduced.Receive(), kBilinear, 0))
            state.SkipWithError("the host did not resize");
        benchmark::DoNotOptimize(reduced.Get());
    }
    CountBytes(state);
}

// Autofix made by its factory for the photo, with a reference host behind the free
// rotation and the right-angle filters it hands exact turns to, as a host sets them up.
class AutofixApply : public benchmark::Fixture {
public:
    void SetUp(benchmark::State&) override
    {
        m_host = CComPtr<CPluginHost>::Adopt(CPluginHost::Create(0x0409));
        for (CFilterFactoryBase* factory : RotationFactories())
            factory->Initialize(static_cast<IPluginHost*>(m_host.Get()), 0);
    }
    void TearDown(benchmark::State&) override
    {
        for (CFilterFactoryBase* factory : RotationFactories()) factory->Uninitialize(0);
        m_host = {};
    }

protected:
    // range(0): the fixes as bits, 1 rotation, 2 colour, 4 exposure, 8 noise.
    static CComPtr<IFilter> Filter(const benchmark::State& state)
    {
        const int64_t fixes = state.range(0);
        CParamList params;
        params.SetInt(kAutofixRotateKey, (fixes & 1) != 0 ? 1 : 0);
        params.SetInt(kAutofixColorKey, (fixes & 2) != 0 ? 1 : 0);
        params.SetInt(kAutofixExposureKey, (fixes & 4) != 0 ? 1 : 0);
        params.SetInt(kAutofixNoiseKey, (fixes & 8) != 0 ? 1 : 0);
        CComPtr<IFilter> filter;
        if (!FactoryOf<CInteractiveAutofixFactory>().CreateFilter(static_cast<IImage*>(PhotoImage()),
                                                                  filter.Receive(), nullptr))
            return {};
        filter->SetFormat(params.ToString().c_str());
        return filter;
    }

private:
    static std::array<CFilterFactoryBase*, 5> RotationFactories()
    {
        return {&FactoryOf<CInteractiveRotateFactory>(), &FactoryOf<CRot0DegreesFactory>(),
                &FactoryOf<CRot90CounterClockWiseFactory>(), &FactoryOf<CRot180Factory>(),
                &FactoryOf<CRot90ClockWiseFactory>()};
    }

    CComPtr<CPluginHost> m_host;
};

} // namespace

// The apply clones the picture, runs the fixes on the clone and hands it out: every
// apply makes its result afresh, and the last one handed out is released in the next
// run of the loop.
BENCHMARK_DEFINE_F(AutofixApply, Apply)(benchmark::State& state)
{
    const CComPtr<IFilter> filter = Filter(state);
    if (!filter) {
        state.SkipWithError("no Autofix filter");
        return;
    }
    CComPtr<IImage> result;
    for (auto _ : state) {
        result = {};
        if (!filter->Apply(nullptr, result.Receive(), nullptr, nullptr)) state.SkipWithError("the apply failed");
        benchmark::DoNotOptimize(result.Get());
    }
    CountBytes(state);
    // The share of pixels the fixes changed shows that each had work to do.
    int width = 0;
    int height = 0;
    if (result) result->GetSize(&width, &height);
    if (width == kWidth && height == kHeight) {
        const auto* fixed = reinterpret_cast<const uint32_t*>(result->GetPixels());
        size_t changed = 0;
        for (size_t i = 0; i < kPixels; ++i) changed += (fixed[i] & 0xFFFFFFu) != (Photo()[i] & 0xFFFFFFu) ? 1 : 0;
        state.counters["changed_share"] = static_cast<double>(changed) / kPixels;
    }
}

BENCHMARK(BM_ColorCopy)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HslPortable)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HslChosen)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DetectColorCast)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HostResizeTo640)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HostClone)->Unit(benchmark::kMillisecond);
// All four fixes, then each alone.
BENCHMARK_REGISTER_F(AutofixApply, Apply)->Arg(15)->Arg(1)->Arg(2)->Arg(4)->Arg(8)->Unit(benchmark::kMillisecond);
