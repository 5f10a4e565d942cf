// The flips and right-angle turns, created through their factories as a host does.
// Expected pictures come from a plain reference that places every source pixel by
// the filter's mapping; positions are (column, row) with row 0 the bottom row.

#include "tests/HostDoubles.h"
#include "tests/TestSupport.h"

#include "Common/status/Status.h"
#include "filters/flip-rotate/FlipHorFactory.h"
#include "filters/flip-rotate/FlipRotateKernels.h"
#include "filters/flip-rotate/FlipVerFactory.h"
#include "filters/flip-rotate/Rot180Factory.h"
#include "filters/flip-rotate/Rot90ClockWiseFactory.h"
#include "filters/flip-rotate/Rot90CounterClockWiseFactory.h"
#include "platform/ComPtr.h"
#include "plugin/ModuleFactories.h"
#include "refhost/HostImage.h"
#include "refhost/PluginHost.h"
#include "refhost/RecordingProgress.h"


#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace {

constexpr uint16_t kEnglish = 0x0409;

// ---------------------------------------------------------------------------
// Pictures and the reference mapping

struct Picture {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;  // row 0 first

    uint32_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

// Names the first pixel that differs, rather than printing whole pictures.
::testing::AssertionResult SamePicture(const Picture& actual, const Picture& expected)
{
    if (actual.width != expected.width || actual.height != expected.height)
        return ::testing::AssertionFailure() << "size " << actual.width << "x" << actual.height << ", expected "
                                             << expected.width << "x" << expected.height;
    for (int y = 0; y < expected.height; ++y) {
        for (int x = 0; x < expected.width; ++x) {
            if (actual.At(x, y) != expected.At(x, y))
                return ::testing::AssertionFailure() << "pixel (" << x << ", " << y << ") is " << std::hex
                                                     << actual.At(x, y) << ", expected " << expected.At(x, y);
        }
    }
    return ::testing::AssertionSuccess();
}

// Blue, green and red together tell every position apart (sides up to 4096), and the
// fourth byte varies too, so that a pixel moved without it shows.
uint32_t PlacedPixel(int x, int y)
{
    const auto blue = static_cast<uint32_t>(x & 0xFF);
    const auto green = static_cast<uint32_t>(y & 0xFF);
    const auto red = static_cast<uint32_t>(((x >> 8) | (y >> 8) << 4) ^ 0x5A);
    const auto fourth = static_cast<uint32_t>((7 * x + 11 * y + 0x81) & 0xFF);
    return fourth << 24 | red << 16 | green << 8 | blue;
}

void FillDistinct(CHostImage* image)
{
    for (int y = 0; y < image->Height(); ++y)
        for (int x = 0; x < image->Width(); ++x) image->Row(y)[x] = PlacedPixel(x, y);
}

CComPtr<IImage> PlacedImage(int width, int height)
{
    CHostImage* image = CHostImage::Create(width, height);
    FillDistinct(image);
    return CComPtr<IImage>::Adopt(static_cast<IImage*>(image));
}

Picture Snapshot(IImage* image)
{
    const auto [width, height] = SizeOf(image);
    return {width, height, PixelsOf(image)};
}

struct Placement {
    int column;
    int row;
};

// One filter under test: its factory, its mapping and how it reports progress.
struct FilterCase {
    const char* name;
    CFilterFactoryBase& (*factory)();
    Placement (*place)(int x, int y, int width, int height);
    bool quarterTurn;
    const char16_t* progressText;
    int (*stepTotal)(int height);  // 0: no Step calls
    bool finishesOnCancel;
};

void PrintTo(const FilterCase& filterCase, std::ostream* out)
{
    *out << filterCase.name;
}

CFilterFactoryBase& FlipHorFactory() { return FactoryOf<CFlipHorFactory>(); }
CFilterFactoryBase& FlipVerFactory() { return FactoryOf<CFlipVerFactory>(); }
CFilterFactoryBase& Rot90ClockWiseFactory() { return FactoryOf<CRot90ClockWiseFactory>(); }
CFilterFactoryBase& Rot90CounterClockWiseFactory() { return FactoryOf<CRot90CounterClockWiseFactory>(); }
CFilterFactoryBase& Rot180Factory() { return FactoryOf<CRot180Factory>(); }

const FilterCase kFlipHor{
    "FlipHor", FlipHorFactory,
    [](int x, int y, int w, int) { return Placement{w - 1 - x, y}; },
    false, u"Flipping horizontally", [](int h) { return h; }, true};
const FilterCase kFlipVer{
    "FlipVer", FlipVerFactory,
    [](int x, int y, int, int h) { return Placement{x, h - 1 - y}; },
    false, u"Flipping vertically", [](int h) { return h / 2; }, false};
const FilterCase kRot180{
    "Rot180", Rot180Factory,
    [](int x, int y, int w, int h) { return Placement{w - 1 - x, h - 1 - y}; },
    false, u"Rotating", [](int h) { return h; }, true};
const FilterCase kRot90ClockWise{
    "Rot90ClockWise", Rot90ClockWiseFactory,
    [](int x, int y, int w, int) { return Placement{y, w - 1 - x}; },
    true, u"Rotating", [](int) { return 0; }, false};
const FilterCase kRot90CounterClockWise{
    "Rot90CounterClockWise", Rot90CounterClockWiseFactory,
    [](int x, int y, int, int h) { return Placement{h - 1 - y, x}; },
    true, u"Rotating", [](int) { return 0; }, false};

const FilterCase* const kAll[] = {&kFlipHor, &kFlipVer, &kRot180, &kRot90ClockWise, &kRot90CounterClockWise};
const FilterCase* const kRotations[] = {&kRot180, &kRot90ClockWise, &kRot90CounterClockWise};

Picture Expected(const Picture& source, const FilterCase& filterCase)
{
    Picture out;
    out.width = filterCase.quarterTurn ? source.height : source.width;
    out.height = filterCase.quarterTurn ? source.width : source.height;
    out.pixels.assign(source.pixels.size(), 0);
    for (int y = 0; y < source.height; ++y) {
        for (int x = 0; x < source.width; ++x) {
            const Placement to = filterCase.place(x, y, source.width, source.height);
            out.pixels[static_cast<size_t>(to.row) * out.width + to.column] = source.At(x, y);
        }
    }
    return out;
}

// ---------------------------------------------------------------------------
// Running a filter

CComPtr<IFilter> CreateFilter(CFilterFactoryBase& factory, IUnknown* source)
{
    IFilter* filter = nullptr;
    IStatus* status = nullptr;
    EXPECT_TRUE(factory.CreateFilter(source, &filter, &status));
    CComPtr<IStatus>::Adopt(status);  // releases the status of a refusal, if any
    return CComPtr<IFilter>::Adopt(filter);
}

struct Outcome {
    bool answered = false;
    bool resultUntouched = false;
    CComPtr<IImage> result;
    int code = 0;  // 0 when no status was made
};

Outcome ApplyFilter(IFilter* filter, IUnknown* input, IProgress* progress)
{
    alignas(IImage) static unsigned char marker[sizeof(void*)];
    IImage* const untouched = reinterpret_cast<IImage*>(marker);
    IImage* out = untouched;
    IStatus* status = nullptr;
    Outcome outcome;
    outcome.answered = filter->Apply(input, &out, progress, &status);
    outcome.resultUntouched = out == untouched;
    if (!outcome.resultUntouched) outcome.result = CComPtr<IImage>::Adopt(out);
    const auto owned = CComPtr<IStatus>::Adopt(status);
    outcome.code = owned ? owned->GetCode() : 0;
    return outcome;
}

std::string Calls(const CRecordingProgress* progress)
{
    return ProgressCalls(progress->Events());
}

// The calls a successful apply makes, or a cancelled one when cancelAt names a step.
std::string ExpectedCalls(const FilterCase& filterCase, int height, int cancelAt = -1)
{
    std::string calls = "SetText " + NarrowToUtf8(filterCase.progressText) + ";";
    const int total = filterCase.stepTotal(height);
    const bool cancels = cancelAt >= 0;
    const int steps = cancels ? cancelAt + 1 : total;
    for (int done = 0; done < steps; ++done) calls += "Step " + std::to_string(done) + "/" + std::to_string(total) + ";";
    if (!cancels) calls += "Finish true;";
    else if (filterCase.finishesOnCancel) calls += "Finish false;";
    return calls;
}

// ---------------------------------------------------------------------------
// Host doubles that refuse

// A distinct-filled image of a test double's class.
template <class Image>
CComPtr<IImage> MakeDouble(int width, int height)
{
    auto* image = new Image();
    image->Allocate(width, height, 32, nullptr);
    FillDistinct(image);
    return CComPtr<IImage>::Adopt(static_cast<IImage*>(image));
}

class CUncloneableImage final : public CHostImage {
public:
    HRESULT QueryInterface(REFIID iid, void** object) override
    {
        if (iid == IID_ICloneable) return AnswerQueryInterface(object, []() -> IUnknown* { return nullptr; });
        return CHostImage::QueryInterface(iid, object);
    }
};

// Hands out no line cursors, and neither do its clones (which hold the same
// pixels, being filled the same way).
class CCursorlessImage final : public CHostImage {
public:
    bool GetLineCursor(int, ILineCursor**) override { return false; }
    bool Clone(IUnknown** clone) override
    {
        *clone = MakeDouble<CCursorlessImage>(Width(), Height()).Detach();
        return true;
    }
};

// ---------------------------------------------------------------------------
// Fixtures

// The factories are process-wide: every test initialises the five with a fresh host
// and leaves them uninitialised, so that no host outlives its test.
class RightAngleFilters : public ::testing::Test {
protected:
    void SetUp() override { InitializeAll(CComPtr<IPluginHost>::Adopt(CPluginHost::Create(kEnglish)).Get()); }
    void TearDown() override
    {
        for (const FilterCase* filterCase : kAll) filterCase->factory().Uninitialize(0);
    }

    static void InitializeAll(IPluginHost* host)
    {
        for (const FilterCase* filterCase : kAll) filterCase->factory().Initialize(host, 0);
    }
};

class EachRightAngleFilter : public RightAngleFilters, public ::testing::WithParamInterface<FilterCase> {};
class EachSteppingFilter : public EachRightAngleFilter {};

// ---------------------------------------------------------------------------
// Pixel mappings

TEST_P(EachRightAngleFilter, PlacesEveryPixelByItsMappingAndLeavesTheSourceAlone)
{
    const FilterCase& filterCase = GetParam();
    // Odd sizes, a single pixel, sizes that end inside a cache tile, and whole blocks.
    const std::vector<std::pair<int, int>> sizes{{3, 2}, {5, 3}, {4, 7}, {1, 1}, {1, 9}, {9, 1}, {67, 130}, {24, 20}};
    for (const auto& [width, height] : sizes) {
        SCOPED_TRACE(std::to_string(width) + "x" + std::to_string(height));
        const CComPtr<IImage> source = PlacedImage(width, height);
        const Picture before = Snapshot(source.Get());
        const CComPtr<IFilter> filter = CreateFilter(filterCase.factory(), source.Get());

        const Outcome outcome = ApplyFilter(filter.Get(), nullptr, nullptr);

        ASSERT_TRUE(outcome.answered);
        EXPECT_EQ(outcome.code, 0);
        EXPECT_TRUE(SamePicture(Snapshot(outcome.result.Get()), Expected(before, filterCase)));
        EXPECT_TRUE(SamePicture(Snapshot(source.Get()), before));
    }
}

TEST_P(EachRightAngleFilter, TheInputArgumentReplacesTheFactorySource)
{
    const FilterCase& filterCase = GetParam();
    const CComPtr<IImage> factorySource = PlacedImage(3, 2);
    const CComPtr<IImage> input = PlacedImage(5, 4);
    const CComPtr<IFilter> filter = CreateFilter(filterCase.factory(), factorySource.Get());

    const Outcome outcome = ApplyFilter(filter.Get(), input.Get(), nullptr);

    ASSERT_TRUE(outcome.answered);
    EXPECT_TRUE(SamePicture(Snapshot(outcome.result.Get()), Expected(Snapshot(input.Get()), filterCase)));
}

TEST_P(EachRightAngleFilter, TwoAppliesGiveTwoIndependentCopies)
{
    const FilterCase& filterCase = GetParam();
    const CComPtr<IImage> source = PlacedImage(5, 3);
    const CComPtr<IFilter> filter = CreateFilter(filterCase.factory(), source.Get());

    const Outcome first = ApplyFilter(filter.Get(), nullptr, nullptr);
    const Outcome second = ApplyFilter(filter.Get(), nullptr, nullptr);

    ASSERT_TRUE(first.answered);
    ASSERT_TRUE(second.answered);
    EXPECT_NE(first.result.Get(), second.result.Get());
    EXPECT_NE(first.result->GetPixels(), second.result->GetPixels());
    EXPECT_TRUE(SamePicture(Snapshot(first.result.Get()), Snapshot(second.result.Get())));
}

TEST_F(RightAngleFilters, HandWorkedPlacementsOfAThreeByTwoImage)
{
    const CComPtr<IImage> source = PlacedImage(3, 2);
    const auto turned = [&](CFilterFactoryBase& factory) {
        const Outcome outcome = ApplyFilter(CreateFilter(factory, source.Get()).Get(), nullptr, nullptr);
        EXPECT_TRUE(outcome.answered);
        return Snapshot(outcome.result.Get());
    };

    const Picture clockWise = turned(Rot90ClockWiseFactory());
    ASSERT_EQ(clockWise.width, 2);
    ASSERT_EQ(clockWise.height, 3);
    EXPECT_EQ(clockWise.At(0, 2), PlacedPixel(0, 0));
    EXPECT_EQ(clockWise.At(1, 0), PlacedPixel(2, 1));

    const Picture counterClockWise = turned(Rot90CounterClockWiseFactory());
    ASSERT_EQ(counterClockWise.width, 2);
    ASSERT_EQ(counterClockWise.height, 3);
    EXPECT_EQ(counterClockWise.At(1, 0), PlacedPixel(0, 0));
    EXPECT_EQ(counterClockWise.At(0, 2), PlacedPixel(2, 1));
}

TEST_F(RightAngleFilters, FlipsKeepTheMiddleColumnOrRowOfAnOddSize)
{
    const CComPtr<IImage> source = PlacedImage(5, 7);
    const Picture wide = Snapshot(ApplyFilter(CreateFilter(FlipHorFactory(), source.Get()).Get(), nullptr, nullptr)
                                      .result.Get());
    const Picture tall = Snapshot(ApplyFilter(CreateFilter(FlipVerFactory(), source.Get()).Get(), nullptr, nullptr)
                                      .result.Get());
    for (int y = 0; y < 7; ++y) EXPECT_EQ(wide.At(2, y), PlacedPixel(2, y));
    for (int x = 0; x < 5; ++x) EXPECT_EQ(tall.At(x, 3), PlacedPixel(x, 3));
}

TEST_F(RightAngleFilters, UndoingTurnsAndFlipsGivesBackTheSource)
{
    const CComPtr<IImage> source = PlacedImage(7, 4);
    const Picture original = Snapshot(source.Get());
    const auto applyInTurn = [&](std::initializer_list<CFilterFactoryBase*> factories) {
        CComPtr<IImage> image = source;
        for (CFilterFactoryBase* factory : factories) {
            const Outcome outcome = ApplyFilter(CreateFilter(*factory, source.Get()).Get(), image.Get(), nullptr);
            EXPECT_TRUE(outcome.answered);
            image = outcome.result;
        }
        return Snapshot(image.Get());
    };
    CFilterFactoryBase* const clockWise = &Rot90ClockWiseFactory();

    EXPECT_TRUE(SamePicture(applyInTurn({&FlipHorFactory(), &FlipHorFactory()}), original));
    EXPECT_TRUE(SamePicture(applyInTurn({&FlipVerFactory(), &FlipVerFactory()}), original));
    EXPECT_TRUE(SamePicture(applyInTurn({&Rot180Factory(), &Rot180Factory()}), original));
    EXPECT_TRUE(SamePicture(applyInTurn({clockWise, clockWise, clockWise, clockWise}), original));
    EXPECT_TRUE(SamePicture(applyInTurn({clockWise, &Rot90CounterClockWiseFactory()}), original));
    EXPECT_TRUE(SamePicture(applyInTurn({&Rot90CounterClockWiseFactory(), clockWise}), original));
    EXPECT_TRUE(SamePicture(applyInTurn({clockWise, clockWise}), applyInTurn({&Rot180Factory()})));
    EXPECT_TRUE(SamePicture(applyInTurn({&FlipHorFactory(), &FlipVerFactory()}), applyInTurn({&Rot180Factory()})));
}

// ---------------------------------------------------------------------------
// Progress and cancel

TEST_P(EachRightAngleFilter, ReportsItsTextStepsAndFinish)
{
    const FilterCase& filterCase = GetParam();
    for (const auto& [width, height] : std::vector<std::pair<int, int>>{{4, 7}, {3, 2}, {1, 1}}) {
        SCOPED_TRACE(std::to_string(width) + "x" + std::to_string(height));
        const CComPtr<IImage> source = PlacedImage(width, height);
        const auto progress = Recorder();

        const Outcome outcome = ApplyFilter(CreateFilter(filterCase.factory(), source.Get()).Get(), nullptr,
                                            progress.Get());

        EXPECT_TRUE(outcome.answered);
        EXPECT_EQ(Calls(progress.Get()), ExpectedCalls(filterCase, height));
    }
}

TEST_P(EachSteppingFilter, ACancelAtTheFirstOrAMiddleStepStopsWithCodeEight)
{
    const FilterCase& filterCase = GetParam();
    constexpr int kHeight = 7;
    const int total = filterCase.stepTotal(kHeight);
    for (const int cancelAt : {0, total / 2}) {
        SCOPED_TRACE("cancel at step " + std::to_string(cancelAt));
        const CComPtr<IImage> source = PlacedImage(4, kHeight);
        const Picture before = Snapshot(source.Get());
        const auto progress = Recorder(cancelAt);

        const Outcome outcome = ApplyFilter(CreateFilter(filterCase.factory(), source.Get()).Get(), nullptr,
                                            progress.Get());

        EXPECT_FALSE(outcome.answered);
        EXPECT_EQ(outcome.code, kStatusCancelled);
        EXPECT_TRUE(outcome.resultUntouched);
        EXPECT_EQ(Calls(progress.Get()), ExpectedCalls(filterCase, kHeight, cancelAt));
        EXPECT_TRUE(SamePicture(Snapshot(source.Get()), before));
    }
}

// ---------------------------------------------------------------------------
// Refusals

TEST_F(RightAngleFilters, FlipsOfAnUncloneableSourceAreCodeSixWithoutProgress)
{
    const CComPtr<IImage> source = MakeDouble<CUncloneableImage>(3, 2);
    for (const FilterCase* flip : {&kFlipHor, &kFlipVer}) {
        SCOPED_TRACE(flip->name);
        const auto progress = Recorder();

        const Outcome outcome = ApplyFilter(CreateFilter(flip->factory(), source.Get()).Get(), nullptr, progress.Get());

        EXPECT_FALSE(outcome.answered);
        EXPECT_EQ(outcome.code, kStatusHostRefused);
        EXPECT_TRUE(outcome.resultUntouched);
        EXPECT_TRUE(progress->Events().empty());
    }
}

// Refused line cursors come after SetText, and this filter never calls Finish(false).
TEST_F(RightAngleFilters, FlipVerticalWithoutLineCursorsIsCodeSixAfterSetText)
{
    const CComPtr<IImage> source = MakeDouble<CCursorlessImage>(3, 4);
    const auto progress = Recorder();

    const Outcome outcome = ApplyFilter(CreateFilter(FlipVerFactory(), source.Get()).Get(), nullptr, progress.Get());

    EXPECT_FALSE(outcome.answered);
    EXPECT_EQ(outcome.code, kStatusHostRefused);
    EXPECT_TRUE(outcome.resultUntouched);
    EXPECT_EQ(Calls(progress.Get()), "SetText Flipping vertically;");
}

TEST_F(RightAngleFilters, TurnsNeedNoCloneOfTheirSource)
{
    const CComPtr<IImage> source = MakeDouble<CUncloneableImage>(3, 2);
    for (const FilterCase* rotation : kRotations) {
        SCOPED_TRACE(rotation->name);
        const Outcome outcome = ApplyFilter(CreateFilter(rotation->factory(), source.Get()).Get(), nullptr, nullptr);
        ASSERT_TRUE(outcome.answered);
        EXPECT_TRUE(SamePicture(Snapshot(outcome.result.Get()), Expected(Snapshot(source.Get()), *rotation)));
    }
}

// No host, a host that makes no image, or a new image that refuses to be sized (its
// own status must not reach the caller, nor leak): code 6 after SetText, no Finish.
TEST_F(RightAngleFilters, TurnsThatCannotMakeTheirImageAreCodeSixAfterSetText)
{
    const CComPtr<IImage> source = PlacedImage(3, 2);
    const Picture before = Snapshot(source.Get());
    using Refusal = CRefusingHost::Refusal;
    for (const auto refusal : {std::optional<Refusal>(), std::optional(Refusal::CreateImage),
                               std::optional(Refusal::Allocate)}) {
        if (refusal) InitializeAll(CComPtr<IPluginHost>::Adopt(new CRefusingHost(*refusal)).Get());
        else for (const FilterCase* rotation : kRotations) rotation->factory().Uninitialize(0);
        for (const FilterCase* rotation : kRotations) {
            SCOPED_TRACE(std::string(rotation->name) + (!refusal ? ", no host"
                                                        : *refusal == Refusal::CreateImage ? ", no image"
                                                                                           : ", no pixels"));
            const auto progress = Recorder();
            const Outcome outcome = ApplyFilter(CreateFilter(rotation->factory(), source.Get()).Get(), nullptr,
                                                progress.Get());
            EXPECT_FALSE(outcome.answered);
            EXPECT_EQ(outcome.code, kStatusHostRefused);
            EXPECT_TRUE(outcome.resultUntouched);
            EXPECT_EQ(Calls(progress.Get()), "SetText Rotating;");
            EXPECT_TRUE(SamePicture(Snapshot(source.Get()), before));
        }
    }
}

// ---------------------------------------------------------------------------
// The flip kernels on rows with padding, which the reference host never has (the
// turns' variants have their own suite)

uint8_t* Bytes(uint32_t* pixels)
{
    return reinterpret_cast<uint8_t*>(pixels);
}

PixelRows Rows(uint32_t* pixels, int stride, int width, int height)
{
    return {Bytes(pixels), ptrdiff_t{4} * stride, width, height};
}

// Runs one whole-image kernel; strides are in pixels. The flips work in place, on
// a copy of the source, which always has the destination's shape.
using KernelRun = void (*)(uint32_t* from, int fromStride, uint32_t* to, int toStride, int width, int height);

struct KernelCase {
    const char* name;
    const FilterCase* mapping;
    KernelRun run;
};

const KernelCase kKernels[] = {
    {"FlipHorizontal", &kFlipHor,
     [](uint32_t* from, int, uint32_t* to, int toStride, int width, int height) {
         std::copy(from, from + static_cast<size_t>(toStride) * height, to);
         FlipHorizontal(Rows(to, toStride, width, height), {});
     }},
    {"FlipVertical", &kFlipVer,
     [](uint32_t* from, int, uint32_t* to, int toStride, int width, int height) {
         std::copy(from, from + static_cast<size_t>(toStride) * height, to);
         std::vector<uint8_t> line(static_cast<size_t>(width) * 4);
         FlipVertical(Bytes(to), toStride * 4, line.size(), height, line.data());
     }},
};

// Sizes that are no multiple of the four-pixel blocks, cross the cache tiles, the
// vector variants' strips (16 columns) and bands (512 rows), and a few drawn at random.
std::vector<std::pair<int, int>> KernelSizes()
{
    std::vector<std::pair<int, int>> sizes{{1, 1}, {4, 4}, {3, 5}, {16, 16}, {17, 33}, {65, 63}, {130, 2}, {2, 130},
                                           {9, 517}, {21, 516}};
    uint32_t state = 2024;
    const auto draw = [&state] {
        state = state * 1664525u + 1013904223u;
        return static_cast<int>(state >> 25) + 1;  // 1 to 128
    };
    for (int i = 0; i < 12; ++i) sizes.emplace_back(draw(), draw());
    return sizes;
}

// One layout of the kernel's buffers: extra pixels after each row, and how many
// pixels the first row starts after a 16-byte boundary (the vector stores only
// bypass the caches on aligned rows, so both paths need a layout).
struct Layout {
    int slack;
    int offset;
};

// Places source into a padded buffer, runs the kernel into another, and answers the
// destination's pixels; any write into the padding fails the test.
Picture RunKernel(const KernelCase& kernel, const Picture& source, const Layout& layout)
{
    constexpr uint32_t kPadding = 0xDEADBEEF;
    const bool turned = kernel.mapping->quarterTurn;
    const int width = source.width;
    const int height = source.height;
    const Picture shape{turned ? height : width, turned ? width : height, {}};
    const int fromStride = width + layout.slack;
    const int toStride = shape.width + layout.slack;
    std::vector<uint32_t> from(static_cast<size_t>(fromStride) * height + layout.offset, kPadding);
    std::vector<uint32_t> to(static_cast<size_t>(toStride) * shape.height + layout.offset, kPadding);
    uint32_t* const fromStart = from.data() + layout.offset;
    uint32_t* const toStart = to.data() + layout.offset;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) fromStart[static_cast<size_t>(y) * fromStride + x] = source.At(x, y);

    kernel.run(fromStart, fromStride, toStart, toStride, width, height);

    const auto expectPadding = [&](const uint32_t* begin, const uint32_t* end) {
        EXPECT_TRUE(std::all_of(begin, end, [&](uint32_t pixel) { return pixel == kPadding; }));
    };
    Picture result{shape.width, shape.height, {}};
    expectPadding(to.data(), toStart);
    for (int y = 0; y < shape.height; ++y) {
        const uint32_t* row = toStart + static_cast<ptrdiff_t>(y) * toStride;
        result.pixels.insert(result.pixels.end(), row, row + shape.width);
        expectPadding(row + shape.width, row + toStride);
    }
    return result;
}

TEST(FlipKernels, EveryFlipMatchesTheMappingOnAnyLayout)
{
    const Layout layouts[] = {{0, 0}, {3, 0}, {4, 0}, {0, 1}, {4, 2}};
    for (const auto& [width, height] : KernelSizes()) {
        Picture source{width, height, {}};
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) source.pixels.push_back(PlacedPixel(x, y));
        for (const KernelCase& kernel : kKernels) {
            const Picture expected = Expected(source, *kernel.mapping);
            for (const Layout& layout : layouts) {
                SCOPED_TRACE(std::string(kernel.name) + " " + std::to_string(width) + "x" + std::to_string(height) +
                             " slack " + std::to_string(layout.slack) + " offset " + std::to_string(layout.offset));
                EXPECT_TRUE(SamePicture(RunKernel(kernel, source, layout), expected));
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(, EachRightAngleFilter,
                         ::testing::Values(kFlipHor, kFlipVer, kRot180, kRot90ClockWise, kRot90CounterClockWise),
                         [](const auto& info) { return std::string(info.param.name); });
INSTANTIATE_TEST_SUITE_P(, EachSteppingFilter, ::testing::Values(kFlipHor, kFlipVer, kRot180),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
