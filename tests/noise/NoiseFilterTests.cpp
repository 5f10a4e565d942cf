// The Noise filter as a host drives it: the page named in the parameter text picks
// the operation; removal measures the levels where the rules say and writes them back;
// adding noise is seeded by the clock's seconds; refusals and stops carry their codes.

#include "tests/HostDoubles.h"
#include "tests/TestSupport.h"
#include "tests/noise/NoisyPictures.h"

#include "Common/base/FilterFormat.h"
#include "Common/params/ParamList.h"
#include "filters/noise/NoiseAddKernel.h"
#include "filters/noise/NoiseFactory.h"
#include "filters/noise/NoiseRegion.h"
#include "refhost/PreviewSite.h"

#include <gtest/gtest.h>

#include <ctime>

using namespace noise_test;

namespace {

using Call = CRecordingProgress::Call;

constexpr const char16_t* kRemoveAllMeasured =
    u"NoiseActivePage:RemoveNoisePage\nNoiseValueVar1:0\nNoiseValueVar2:0\nNoiseValueVar3:0\nNoiseFilterSize:3\n";

CComPtr<IInteractiveFilter> NoiseFilter(IUnknown* source, const char16_t* format)
{
    return CreateInteractiveFilter(FactoryOf<CInteractiveNoiseFactory>(), source, format);
}

struct Applied {
    CComPtr<IImage> result;
    std::vector<CRecordingProgress::Event> events;
    CParamList settings;  // the filter's parameter text afterwards
};

// Applies filter to its source, with the selection text (none for null) on a site.
Applied ApplyWithSelection(IInteractiveFilter* filter, const char16_t* selection)
{
    auto site = CComPtr<CPreviewSite>::Adopt(CPreviewSite::Create(nullptr));
    if (selection != nullptr) site->SelectByUser(selection);
    filter->SetPreviewSite(site.Get());
    auto progress = CComPtr<CRecordingProgress>::Adopt(CRecordingProgress::Create());
    Applied applied;
    EXPECT_TRUE(filter->Apply(nullptr, applied.result.Receive(), progress.Get(), nullptr));
    applied.events = progress->Events();
    applied.settings.Parse(ReadFilterFormat(filter).c_str());
    filter->SetPreviewSite(nullptr);
    return applied;
}

Applied Apply(IInteractiveFilter* filter)
{
    return ApplyWithSelection(filter, nullptr);
}

int Level(const CParamList& settings, const char16_t* key)
{
    int level = -1000;
    EXPECT_TRUE(settings.GetInt(key, level)) << NarrowToUtf8(key);
    return level;
}

std::array<int, 3> Levels(const CParamList& settings)
{
    return {Level(settings, u"NoiseValueVar1"), Level(settings, u"NoiseValueVar2"), Level(settings, u"NoiseValueVar3")};
}

// An estimate of a variance from many blocks: within a quarter of it, and the half
// that rounding to a whole level adds.
void ExpectMeasured(int level, double variance, const char* what)
{
    EXPECT_NEAR(level, variance, variance / 4 + 0.5) << what;
}

} // namespace

// ---------------------------------------------------------------- adding noise

TEST(NoiseFilterAdding, AmountZeroKeepsTheColoursClearsTheFourthByteAndReportsEachRow)
{
    auto source = MakeImage(9, 6, DistinctPixel);
    const std::vector<uint32_t> before = PixelsOf(source.Get());
    auto filter = NoiseFilter(static_cast<IImage*>(source.Get()), u"NoiseActivePage:AddNoisePage\nAddNoiseAmount:0\n");
    const Applied applied = Apply(filter.Get());
    ASSERT_TRUE(applied.result);
    const std::vector<uint32_t> after = PixelsOf(applied.result.Get());
    for (size_t i = 0; i < before.size(); ++i) EXPECT_EQ(after[i], before[i] & 0x00FFFFFFu) << i;
    EXPECT_EQ(PixelsOf(source.Get()), before) << "the source is left alone";

    EXPECT_EQ(ProgressCalls(applied.events), "SetText Applying noise;" + StepCalls(1, 6, 6) + "Finish true;");
    EXPECT_EQ(ReadFilterFormat(filter.Get()), u"NoiseActivePage:AddNoisePage\nAddNoiseAmount:0\n")
        << "adding noise writes nothing back";
}

// The seed is the clock's seconds: two applies that start in the same second add the
// same noise, the noise the runtime's generator gives for that seed.
TEST(NoiseFilterAdding, AppliesWithinOneSecondAddTheSameNoise)
{
    auto source =
        MakeImage(64, 48, [](int x, int y) { return 0xFF000000u | 0x010101u * static_cast<uint32_t>(60 + x + y); });
    auto filter =
        NoiseFilter(static_cast<IImage*>(source.Get()), u"NoiseActivePage:AddNoisePage\nAddNoiseAmount:0.5\n");
    bool sameSecond = false;
    for (int attempt = 0; attempt < 5 && !sameSecond; ++attempt) {
        const std::time_t start = std::time(nullptr);
        const Applied first = Apply(filter.Get());
        const Applied second = Apply(filter.Get());
        if (std::time(nullptr) != start) continue;  // the clock moved on in between: try again
        sameSecond = true;
        ASSERT_TRUE(first.result && second.result);
        EXPECT_EQ(PixelsOf(first.result.Get()), PixelsOf(second.result.Get()));
        EXPECT_NE(PixelsOf(first.result.Get()), PixelsOf(source.Get()));

        auto expected = MakeImage(64, 48, [&](int x, int y) { return source->Row(y)[x]; });
        CProcessRandomDraws draws(static_cast<unsigned>(start));
        const PixelRows rows{reinterpret_cast<uint8_t*>(expected->Row(0)), ptrdiff_t{4} * 64, 64, 48};
        ASSERT_TRUE(AddNoise(rows, 0.5, draws, {}));
        EXPECT_EQ(PixelsOf(first.result.Get()), PixelsOf(expected.Get()));
    }
    EXPECT_TRUE(sameSecond) << "five tries never fitted into one second";
}

// ---------------------------------------------------------------- removing noise

// Levels 0 measure the picture; the measured variances come back as whole levels,
// red, green and blue in their own keys, the rest of the text as it was.
TEST(NoiseFilterRemoving, AllLevelsZeroMeasuresThePictureAndWritesTheLevelsBack)
{
    const ChannelSpread spread{3, 6, 10};
    auto source = NoisyGrey(640, 480, spread);
    auto filter = NoiseFilter(static_cast<IImage*>(source.Get()), kRemoveAllMeasured);
    const Applied applied = Apply(filter.Get());
    ASSERT_TRUE(applied.result);
    const std::array<int, 3> levels = Levels(applied.settings);
    ExpectMeasured(levels[0], UniformVariance(3), "red");
    ExpectMeasured(levels[1], UniformVariance(6), "green");
    ExpectMeasured(levels[2], UniformVariance(10), "blue");
    EXPECT_EQ(WString(applied.settings.Get(u"NoiseActivePage")), u"RemoveNoisePage");
    EXPECT_EQ(WString(applied.settings.Get(u"NoiseFilterSize")), u"3");

    auto* result = static_cast<CHostImage*>(applied.result.Get());
    for (int byte = 0; byte < 3; ++byte) {
        EXPECT_LT(VarianceAboutGrey(result, byte), VarianceAboutGrey(source.Get(), byte) / 2) << "byte " << byte;
    }
    EXPECT_EQ(applied.events.front().text, u"Apply noise reduction filter");
    EXPECT_EQ(applied.events[applied.events.size() - 2].done, 3 * 480);
    EXPECT_TRUE(applied.events.back().call == Call::Finish && applied.events.back().success);

    // Without its levels and size the text means the same: levels 0, size 3.
    auto bare = NoiseFilter(static_cast<IImage*>(source.Get()), u"NoiseActivePage:RemoveNoisePage\n");
    const Applied fromBare = Apply(bare.Get());
    EXPECT_EQ(PixelsOf(fromBare.result.Get()), PixelsOf(applied.result.Get()));
    EXPECT_EQ(Levels(fromBare.settings), levels);
}

// Levels that are all 0 or below are measured too; other levels are used as given
// and written back as trunc(level + 0.5).
TEST(NoiseFilterRemoving, GivenLevelsAreKeptAndRoundedHalfUpTowardZero)
{
    auto source = NoisyGrey(400, 330, {4, 4, 4});
    auto measured = NoiseFilter(static_cast<IImage*>(source.Get()), kRemoveAllMeasured);
    const Applied fromZero = Apply(measured.Get());
    auto belowZero = NoiseFilter(static_cast<IImage*>(source.Get()),
                                 u"NoiseActivePage:RemoveNoisePage\nNoiseValueVar1:-4\nNoiseValueVar2:0\n");
    const Applied fromBelow = Apply(belowZero.Get());
    EXPECT_EQ(PixelsOf(fromBelow.result.Get()), PixelsOf(fromZero.result.Get()));
    EXPECT_EQ(Levels(fromBelow.settings), Levels(fromZero.settings));
    EXPECT_GT(Levels(fromZero.settings)[0], 0);

    auto given = NoiseFilter(static_cast<IImage*>(source.Get()),
                             u"NoiseActivePage:RemoveNoisePage\nNoiseValueVar1:5\nNoiseValueVar2:0\nNoiseValueVar3:-3\n"
                             u"NoiseFilterSize:2\n");
    const Applied fromGiven = Apply(given.Get());
    EXPECT_EQ(Levels(fromGiven.settings), (std::array<int, 3>{5, 0, -2})) << "-3 + 0.5 truncates to -2";
    EXPECT_NE(PixelsOf(fromGiven.result.Get()), PixelsOf(fromZero.result.Get()));
}

// The upper third of the picture (as seen) is four times as noisy as the rest. A
// selection there measures its noise, whichever corners it names first; a text of
// three numbers or an empty rectangle is no selection.
TEST(NoiseFilterRemoving, ASelectionIsTheRegionTheLevelsAreMeasuredIn)
{
    const ChannelSpread quiet{3, 3, 3};
    const ChannelSpread noisy{12, 12, 12};
    auto source = NoisyGrey(480, 360, noisy, quiet, 120);
    const auto apply = [&](const char16_t* format, const char16_t* selection) {
        auto filter = NoiseFilter(static_cast<IImage*>(source.Get()), format);
        return ApplyWithSelection(filter.Get(), selection);
    };

    const Applied upper = apply(kRemoveAllMeasured, u"0 0 480 120");
    for (int level : Levels(upper.settings)) ExpectMeasured(level, UniformVariance(12), "upper third");
    const Applied swapped = apply(kRemoveAllMeasured, u"480 120 0 0");
    EXPECT_EQ(PixelsOf(swapped.result.Get()), PixelsOf(upper.result.Get()));
    EXPECT_EQ(Levels(swapped.settings), Levels(upper.settings));
    const Applied lower = apply(kRemoveAllMeasured, u"100 200 400 340");
    for (int level : Levels(lower.settings)) ExpectMeasured(level, UniformVariance(3), "lower part");

    const Applied none = apply(kRemoveAllMeasured, nullptr);
    for (const char16_t* notARegion : {u"0 0 480", u"100 10 100 300", u"7 50 300 50", u""}) {
        const Applied read = apply(kRemoveAllMeasured, notARegion);
        EXPECT_EQ(PixelsOf(read.result.Get()), PixelsOf(none.result.Get())) << NarrowToUtf8(notARegion);
        EXPECT_EQ(Levels(read.settings), Levels(none.settings)) << NarrowToUtf8(notARegion);
    }

    // The region's levels replace given ones for this apply only: the text keeps them.
    constexpr const char16_t* kGiven =
        u"NoiseActivePage:RemoveNoisePage\nNoiseValueVar1:9\nNoiseValueVar2:9\nNoiseValueVar3:9\nNoiseFilterSize:3\n";
    const Applied overGiven = apply(kGiven, u"0 0 480 120");
    EXPECT_EQ(PixelsOf(overGiven.result.Get()), PixelsOf(upper.result.Get()));
    EXPECT_EQ(Levels(overGiven.settings), (std::array<int, 3>{9, 9, 9}));
}

TEST(NoiseRegion, SelectionTextsBecomeRegionsInIncreasingOrder)
{
    EXPECT_EQ(NormalisedSelection(u"10 20 30 40"), (RECT{10, 20, 30, 40}));
    EXPECT_EQ(NormalisedSelection(u"30 40 10 20"), (RECT{10, 20, 30, 40}));
    EXPECT_EQ(NormalisedSelection(u"30 20 10 40"), (RECT{10, 20, 30, 40}));
    EXPECT_EQ(NormalisedSelection(u"-5 7 -9 3 and more"), (RECT{-9, 3, -5, 7}));
    EXPECT_EQ(NormalisedSelection(u"10 20 10 40"), (RECT{0, 0, 0, 0})) << "no width";
    EXPECT_EQ(NormalisedSelection(u"10 20 30 20"), (RECT{0, 0, 0, 0})) << "no height";
    EXPECT_FALSE(NormalisedSelection(u"10 20 30").has_value());
    EXPECT_FALSE(NormalisedSelection(u"10 20 30 x").has_value());
    EXPECT_FALSE(NormalisedSelection(nullptr).has_value());
    EXPECT_TRUE(IsEmptyRegion(RECT{0, 0, 0, 0}));
    EXPECT_FALSE(IsEmptyRegion(RECT{0, 0, 1, 1}));
}

// ---------------------------------------------------------------- failures

TEST(NoiseFilterFailures, RefusalsAndStopsCarryTheirCodes)
{
    auto source = MakeImage(48, 40, DistinctPixel);
    IUnknown* image = static_cast<IImage*>(source.Get());
    const std::vector<uint32_t> before = PixelsOf(source.Get());
    constexpr int kNever = CRecordingProgress::kNeverCancel;
    constexpr const char16_t* kAdd = u"NoiseActivePage:AddNoisePage\nAddNoiseAmount:0.4\n";
    // A picture this small is not measured; given levels make the reduction work.
    constexpr const char16_t* kRemoveGiven =
        u"NoiseActivePage:RemoveNoisePage\nNoiseValueVar1:20\nNoiseValueVar2:20\nNoiseValueVar3:20\n";
    struct Case {
        const char* label;
        const char16_t* format;
        int cancelAt;
        int code;
        const char16_t* text;  // the one SetText, or null for no progress call at all
    };
    for (const Case& c : {
             Case{"no page", u"AddNoiseAmount:0.4\n", kNever, 6, nullptr},
             Case{"page in another case", u"NoiseActivePage:addnoisepage\nAddNoiseAmount:0.4\n", kNever, 6, nullptr},
             Case{"unknown page", u"NoiseActivePage:Noise\n", kNever, 6, nullptr},
             Case{"adding without its amount", u"NoiseActivePage:AddNoisePage\n", kNever, 6, nullptr},
             Case{"stopped while adding", kAdd, 3, 8, u"Applying noise"},
             Case{"stopped while removing", kRemoveGiven, 1, 8, u"Apply noise reduction filter"},
         }) {
        auto filter = NoiseFilter(image, c.format);
        const FailedApply failed = ApplyExpectingFailure(filter.Get(), nullptr, c.cancelAt);
        EXPECT_EQ(failed.code, c.code) << c.label;
        EXPECT_FALSE(failed.storedResult) << c.label;
        EXPECT_EQ(PixelsOf(source.Get()), before) << c.label;
        if (c.text == nullptr) {
            EXPECT_TRUE(failed.events.empty()) << c.label;
            continue;
        }
        ASSERT_GE(failed.events.size(), 3u) << c.label;
        EXPECT_EQ(failed.events.front().text, c.text) << c.label;
        EXPECT_EQ(failed.events[failed.events.size() - 2].call, Call::Step) << c.label << ": stopped at once";
        EXPECT_TRUE(failed.events.back().call == Call::Finish && !failed.events.back().success) << c.label;
    }
}

TEST(NoiseFilterFailures, EveryRefusedCopyIsCodeSixForBothOperations)
{
    for (const char16_t* format : {u"NoiseActivePage:AddNoisePage\nAddNoiseAmount:0.4\n", kRemoveAllMeasured}) {
        for (const CComPtr<CHostImage>& refusing : CloneRefusingSources(16, 12)) {
            auto filter = NoiseFilter(static_cast<IImage*>(refusing.Get()), format);
            const FailedApply failed = ApplyExpectingFailure(filter.Get(), nullptr, CRecordingProgress::kNeverCancel);
            EXPECT_EQ(failed.code, 6) << NarrowToUtf8(format);
            EXPECT_TRUE(failed.events.empty()) << "nothing announced before the copy exists";
        }
    }
}
