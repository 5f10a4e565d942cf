// Every filter the loaded module offers, driven the way a careless or hostile host
// could drive it: pictures from one pixel to two thousand wide, parameter texts with
// huge, negative, non-finite and missing numbers, very long texts and broken UTF-16,
// a cancel at a random progress step and the host refusing an allocation at a random
// call. Each apply must succeed or fail with a status, leave the source as it was,
// hand out nothing when cancelled and keep no reference to anything. The rounds are
// drawn from fixed seeds, so a failure names a round that can be run again alone.

#include "tests/LoadedModule.h"
#include "tests/robustness/ApplyRules.h"
#include "tests/robustness/FaultyHost.h"
#include "tests/robustness/FaultyModuleTest.h"
#include "tests/robustness/HostileTexts.h"

#include "Common/base/InteractiveInterfaces.h"
#include "platform/ComPtr.h"
#include "refhost/FilterCatalog.h"
#include "refhost/ModuleLoader.h"
#include "refhost/PreviewSite.h"
#include "refhost/RecordingProgress.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

namespace {

// Sanitized and unoptimised builds run about ten times slower; fewer rounds keep the
// test within seconds there too.
#if defined(__SANITIZE_ADDRESS__) || !defined(NDEBUG)
constexpr int kRounds = 4;
constexpr int kLargestArea = 12'000;
#else
constexpr int kRounds = 60;
constexpr int kLargestArea = 60'000;
#endif
constexpr int kWidestPicture = 2000;

// BF_ROBUSTNESS_ROUNDS and BF_ROBUSTNESS_SEED let a longer run (scripts/fuzz.sh)
// explore further than the suite's fixed rounds.
int EnvironmentNumber(const char* name, int fallback)
{
    const char* text = std::getenv(name);
    return text != nullptr && *text != 0 ? std::atoi(text) : fallback;
}

std::vector<uint32_t> PixelsOf(CHostImage* image)
{
    const auto* bits = reinterpret_cast<const uint32_t*>(image->GetPixels());
    return std::vector<uint32_t>(bits, bits + static_cast<size_t>(image->Width()) * image->Height());
}

// Widths by a power law, so that most pictures are small and odd; the height keeps
// the area within what a round can afford.
CComPtr<CFaultyImage> RandomPicture(std::mt19937& random)
{
    std::uniform_real_distribution<double> exponent(0.0, std::log(static_cast<double>(kWidestPicture)));
    const int width = std::clamp(static_cast<int>(std::exp(exponent(random))), 1, kWidestPicture);
    const int tallest = std::max(1, std::min(kWidestPicture, kLargestArea / width));
    const int height = std::uniform_int_distribution<int>(1, tallest)(random);
    auto picture = CComPtr<CFaultyImage>::Adopt(CFaultyImage::Make(width, height));
    auto* bits = reinterpret_cast<uint32_t*>(picture->GetPixels());
    const int kind = std::uniform_int_distribution<int>(0, 2)(random);
    const uint32_t flat = static_cast<uint32_t>(random());
    for (int i = 0; i < width * height; ++i) {
        // Noise, one flat colour, or a smooth ramp with a few sharp dots.
        if (kind == 0) bits[i] = static_cast<uint32_t>(random());
        else if (kind == 1) bits[i] = flat;
        else bits[i] = (random() % 97 == 0) ? 0xFFFFFFFFu : 0xFF000000u | static_cast<uint32_t>(i % 256) * 0x010101u;
    }
    return picture;
}

ApplyRecord ApplyOnce(IFilter* filter, IUnknown* input, int cancelAtStep, CComPtr<IImage>& result)
{
    auto progress = CComPtr<CRecordingProgress>::Adopt(CRecordingProgress::Create(cancelAtStep));
    ApplyRecord run;
    CComPtr<IStatus> status;
    run.applied = filter->Apply(input, result.Receive(), progress.Get(), status.Receive());
    run.handedOut = static_cast<bool>(result);
    run.code = status ? status->GetCode() : 0;
    run.cancelAt = cancelAtStep;
    run.events = progress->Events();
    return run;
}

// Reads every byte of a handed-out picture, so that a sanitized build sees a result
// whose buffer is smaller than its size says.
void ExpectWholePicture(IImage* image, const std::string& where)
{
    int width = 0;
    int height = 0;
    image->GetSize(&width, &height);
    EXPECT_GT(width, 0) << where;
    EXPECT_GT(height, 0) << where;
    const uint8_t* bits = image->GetPixels();
    ASSERT_NE(bits, nullptr) << where;
    EXPECT_GE(image->GetStride(), width * 4) << where;
    volatile uint32_t sum = 0;
    for (int row = 0; row < height; ++row) {
        const uint8_t* line = bits + static_cast<ptrdiff_t>(row) * image->GetStride();
        for (int i = 0; i < width * 4; ++i) sum = sum * 31 + line[i];
    }
}

class Robustness : public FaultyModuleTest {
protected:
    void SetUp() override
    {
        FaultyModuleTest::SetUp();
        ASSERT_GE(catalog->Entries().size(), 22u) << "every filter, listed or not";
    }

    // One apply of entry on a random picture with a random text, cancel and refusal;
    // counts the applies that succeeded.
    void RunRound(const FilterEntry& entry, std::mt19937& random, const std::string& where)
    {
        HostBudget() = AllocationBudget{};
        CComPtr<CFaultyImage> source = RandomPicture(random);
        ASSERT_TRUE(source);
        const std::vector<uint32_t> before = PixelsOf(source.Get());
        const std::string what = where + " on " + std::to_string(source->Width()) + " x " +
                                 std::to_string(source->Height());

        CComPtr<IFilter> filter;
        CComPtr<IStatus> status;
        if (!entry.factory->CreateFilter(static_cast<IImage*>(source.Get()), filter.Receive(), status.Receive())) {
            EXPECT_TRUE(status) << what << ": a refused creation says why";
            return;
        }
        const WString text = HostileParameterText(entry.settings, random);
        filter->SetFormat(text.c_str());
        CComPtr<CPreviewSite> site;
        if (auto interactive = CComPtr<IInteractiveFilter>::Query(filter.Get(), IID_IInteractiveFilter)) {
            site = CComPtr<CPreviewSite>::Adopt(CPreviewSite::Create(nullptr));
            site->SelectByUser(HostileShapeText(source->Width(), source->Height(), random).c_str());
            interactive->SetPreviewSite(site.Get());
            interactive->SelectionChanged();
        }

        // Two applies on one filter are independent: the second may cancel or be
        // refused where the first was not.
        for (int attempt = 0; attempt < 2; ++attempt) {
            HostBudget().calls = 0;
            HostBudget().refuseAt = random() % 2 == 0 ? -1 : static_cast<int>(random() % 6);
            const int cancelAt = random() % 3 == 0 ? static_cast<int>(random() % (source->Height() + 8))
                                                   : CRecordingProgress::kNeverCancel;
            IUnknown* input = random() % 4 == 0 ? static_cast<IImage*>(source.Get()) : nullptr;
            CComPtr<IImage> result;
            const ApplyRecord run = ApplyOnce(filter.Get(), input, cancelAt, result);
            const std::string attemptWhere = what + ", apply " + std::to_string(attempt) + " (refusing call " +
                                             std::to_string(HostBudget().refuseAt) + ", cancel at step " +
                                             std::to_string(cancelAt) + ")\ntext: " + Printable(text);
            EXPECT_EQ(BrokenApplyRule(run, MayFailWithoutStatus(entry.menuPath)), "") << attemptWhere;
            if (result) ExpectWholePicture(result.Get(), attemptWhere);
            if (run.applied) ++succeeded;
            ASSERT_EQ(PixelsOf(source.Get()), before) << attemptWhere << ": the source changed";
        }
        filter.Reset();
        site.Reset();
        EXPECT_EQ(RefCountOfSource(source.Get()), 1u) << what << ": a reference to the source was kept";
        EXPECT_EQ(CFaultyImage::Live(), 1) << what << ": an image the host made was never released";
    }

    static ULONG RefCountOfSource(CFaultyImage* source)
    {
        source->AddRef();
        return source->Release();
    }

    int succeeded = 0;
};

TEST_F(Robustness, EveryFilterSurvivesHostileSettingsPicturesCancelsAndRefusals)
{
    const int rounds = std::max(1, EnvironmentNumber("BF_ROBUSTNESS_ROUNDS", kRounds));
    const std::string extraSeed = std::to_string(EnvironmentNumber("BF_ROBUSTNESS_SEED", 0));
    for (const FilterEntry& entry : catalog->Entries()) {
        // One seed per filter: a new filter in the table changes no other's rounds.
        const std::string seedText = entry.menuPath + (extraSeed == "0" ? "" : extraSeed);
        std::seed_seq seed(seedText.begin(), seedText.end());
        std::mt19937 random(seed);
        succeeded = 0;
        for (int round = 0; round < rounds; ++round) {
            RunRound(entry, random, entry.menuPath + ", round " + std::to_string(round));
            if (HasFatalFailure()) return;
        }
        EXPECT_EQ(CFaultyImage::Live(), 0) << entry.menuPath;
        // Rounds that all fail early would prove nothing about the pixel work.
        EXPECT_GE(succeeded, rounds / 4) << entry.menuPath;
        std::printf("%-45s %3d of %d applies succeeded\n", entry.menuPath.c_str(), succeeded, 2 * rounds);
    }
}

// Every filter, listed or not, refuses to work without a place for its result
// before it does anything else: status 5, no result and not one progress call.
TEST_F(Robustness, EveryFilterRefusesANullResultPointerWithCodeFiveAndNoProgress)
{
    auto source = CComPtr<CFaultyImage>::Adopt(CFaultyImage::Make(9, 7));
    for (const FilterEntry& entry : catalog->Entries()) {
        SCOPED_TRACE(entry.menuPath);
        CComPtr<IFilter> filter;
        ASSERT_TRUE(entry.factory->CreateFilter(static_cast<IImage*>(source.Get()), filter.Receive(), nullptr));
        auto progress = CComPtr<CRecordingProgress>::Adopt(CRecordingProgress::Create());
        CComPtr<IStatus> status;
        EXPECT_FALSE(filter->Apply(nullptr, nullptr, progress.Get(), status.Receive()));
        EXPECT_EQ(status ? status->GetCode() : 0, kStatusInvalidArgument);
        EXPECT_TRUE(progress->Events().empty());
        EXPECT_FALSE(filter->Apply(nullptr, nullptr, nullptr, nullptr)) << "nor without a status out-pointer";
    }
}

// Found by the apply fuzzer: a line drawn on a single pixel turns it by 45 degrees,
// and a cropping turn finds no rectangle there. Rotate's rules end that apply with
// false and no status; any other filter failing so would break the rules.
TEST_F(Robustness, ACroppingTurnOfOnePixelFailsWithoutStatusAsItsRulesSay)
{
    const auto rotate = std::find_if(catalog->Entries().begin(), catalog->Entries().end(),
                                     [](const FilterEntry& entry) { return entry.menuPath == "Rotate"; });
    ASSERT_NE(rotate, catalog->Entries().end());
    auto dot = CComPtr<CFaultyImage>::Adopt(CFaultyImage::Make(1, 1));
    CComPtr<IFilter> filter;
    ASSERT_TRUE(rotate->factory->CreateFilter(static_cast<IImage*>(dot.Get()), filter.Receive(), nullptr));
    filter->SetFormat(u"angle:0\ncolorBkgnd:0\ncroptype:1");
    auto site = CComPtr<CPreviewSite>::Adopt(CPreviewSite::Create(nullptr));
    site->SelectByUser(u"0 0 1 1");
    auto interactive = CComPtr<IInteractiveFilter>::Query(filter.Get(), IID_IInteractiveFilter);
    ASSERT_TRUE(interactive);
    interactive->SetPreviewSite(site.Get());
    interactive->SelectionChanged();

    CComPtr<IImage> result;
    const ApplyRecord run = ApplyOnce(filter.Get(), nullptr, 0, result);
    EXPECT_FALSE(run.applied);
    EXPECT_EQ(run.code, 0);
    EXPECT_EQ(BrokenApplyRule(run, MayFailWithoutStatus("Rotate")), "");
    EXPECT_EQ(BrokenApplyRule(run, MayFailWithoutStatus("Median")), "failed with status 0");
    interactive->SetPreviewSite(nullptr);
}

} // namespace
