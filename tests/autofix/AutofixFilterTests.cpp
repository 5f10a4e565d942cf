// Autofix as a host drives it: which fixes run, in which order and phases, what a
// failing fix leaves behind, and the refusals. Expected pixels come from the rules
// written out here (the stretch of the levels, the gains rounded to the nearest
// level); rows are section rows, row 0 the bottom.

#include "tests/HostDoubles.h"
#include "tests/autofix/AutofixTestSupport.h"

#include "Common/status/Status.h"
#include "filters/autofix/AutofixExposureFix.h"
#include "filters/autofix/AutofixFilter.h"
#include "filters/shared/color-cast/ColorCast.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <optional>

namespace {

using Call = CRecordingProgress::Call;

// The result of a successful apply to the filter's source; a status fails the test.
CComPtr<IImage> Applied(CHostImage* source, const WString& text, IProgress* progress = nullptr)
{
    CComPtr<IImage> result;
    CComPtr<IStatus> status;
    EXPECT_TRUE(AutofixFilter(source, text)->Apply(nullptr, result.Receive(), progress, status.Receive()));
    if (status) ADD_FAILURE() << "status " << status->GetCode();
    return result;
}

std::vector<std::string> TextsOf(const std::vector<CRecordingProgress::Event>& events)
{
    std::vector<std::string> texts;
    for (const auto& event : events) {
        if (event.call == Call::SetText) texts.push_back(NarrowToUtf8(event.text));
    }
    return texts;
}

// Grey levels with a known luminance histogram: level v of a grey pixel has
// luminance v. The third-largest count is 300, so the threshold is 3: level 30 (2
// pixels) and 240 (2) stay out, 40 (3) and 220 (3) are the limits.
CComPtr<CHostImage> GreysReaching40And220()
{
    std::vector<int> levels;
    const std::map<int, int> counts{{30, 2}, {40, 3}, {60, 300}, {100, 300}, {180, 300}, {220, 3}, {240, 2}};
    for (const auto& [level, count] : counts) levels.insert(levels.end(), static_cast<size_t>(count), level);
    return MakeImage(91, 10, [&](int x, int y) {
        const int level = levels[static_cast<size_t>(y * 91 + x)];
        return Colour(level, level, level, static_cast<uint32_t>(x + y));
    });
}

// The stretch of levels 40 to 220 written out: i x 255 / 180 - 40 x 255 / 180,
// truncated into 0..255.
int Stretched40To220(int level)
{
    const double m = 255.0 / 180;
    return static_cast<int>(std::clamp(level * m + -40 * m, 0.0, 255.0));
}

// Reds and browns: within 25 to 230 in every channel, red above green above blue.
CComPtr<CHostImage> WarmPicture(int width, int height)
{
    return MakeImage(width, height, [](int x, int y) {
        return Colour(120 + (x * 7 + y * 3) % 100, 70 + (x * 5 + y * 11) % 90, 40 + (x * 3 + y * 5) % 60,
                      static_cast<uint32_t>(x * y));
    });
}

int Gained(int level, double gain)
{
    return static_cast<int>(std::clamp(level * gain, 0.0, 255.0) + 0.5);
}

} // namespace

// ---------------------------------------------------------------- no fix

TEST(Autofix, NoFixSwitchedOnHandsOutAnUnchangedCopy)
{
    const auto source = WarmPicture(23, 17);
    const std::vector<uint32_t> before = PixelsOf(source.Get());
    for (const WString& text : {WString(), AutofixText({}), WString(u"AutofixNoise:0\nOther:1\n")}) {
        SCOPED_TRACE(NarrowToUtf8(text.c_str()));
        const auto progress = Recorder(0);
        const CComPtr<IImage> result = Applied(source.Get(), text, progress.Get());
        ASSERT_TRUE(result);
        EXPECT_NE(result.Get(), static_cast<IImage*>(source.Get())) << "a copy, not the source";
        EXPECT_EQ(PixelsOf(result.Get()), before);
        ASSERT_EQ(progress->Events().size(), 2u);
        EXPECT_EQ(TextsOf(progress->Events()), std::vector<std::string>{"Autofixing image..."});
        EXPECT_EQ(progress->Events()[1].call, Call::Finish);
        EXPECT_TRUE(progress->Events()[1].success);
    }
}

// ---------------------------------------------------------------- refusals

TEST(Autofix, WithoutASourceIsStatusFive)
{
    const auto sourceless = CComPtr<IInteractiveFilter>::Adopt(new CInteractiveAutofixFilter(nullptr, nullptr));
    const FailedApply noSource = ApplyExpectingFailure(sourceless.Get(), nullptr, CRecordingProgress::kNeverCancel);
    EXPECT_EQ(noSource.code, kStatusInvalidArgument);
    EXPECT_FALSE(noSource.storedResult);
    EXPECT_TRUE(noSource.events.empty());
}

// No ICloneable, a refused Clone, a clone without IImage; the copy's IBitmap is the
// fixes' matter, not the apply's.
TEST(Autofix, ACopyThatCannotBeMadeIsStatusSixBeforeAnyProgressCall)
{
    std::vector<CComPtr<CHostImage>> sources = CloneRefusingSources(8, 8);
    ASSERT_EQ(sources.size(), 4u);
    for (size_t i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        const FailedApply failed = ApplyExpectingFailure(
            AutofixFilter(sources[i].Get(), AutofixText({.exposure = true})).Get(), nullptr,
            CRecordingProgress::kNeverCancel);
        EXPECT_EQ(failed.code, kStatusHostRefused);
        EXPECT_FALSE(failed.storedResult);
        EXPECT_TRUE(failed.events.empty());
    }
    CComPtr<IImage> result;
    EXPECT_TRUE(AutofixFilter(sources[3].Get(), AutofixText({}))->Apply(nullptr, result.Receive(), nullptr, nullptr))
        << "with no fix on, a copy without IBitmap is still a copy";
}

// ---------------------------------------------------------------- the exposure fix

TEST(Autofix, TheExposureFixStretchesTheLuminanceLimitsOverEveryChannel)
{
    const auto source = GreysReaching40And220();
    const auto progress = Recorder();
    const CComPtr<IImage> result = Applied(source.Get(), AutofixText({.exposure = true}), progress.Get());
    ASSERT_TRUE(result);
    const std::vector<uint32_t> before = PixelsOf(source.Get());
    const std::vector<uint32_t> after = PixelsOf(result.Get());
    for (size_t i = 0; i < before.size(); ++i) {
        const int level = Channel(before[i], 0);
        ASSERT_EQ(after[i], Colour(Stretched40To220(level), Stretched40To220(level), Stretched40To220(level),
                                   before[i] >> 24))
            << i;
    }
    EXPECT_EQ(Stretched40To220(40), 0);
    EXPECT_EQ(Stretched40To220(100), 85);
    EXPECT_EQ(Stretched40To220(220), 255);
    EXPECT_EQ(TextsOf(progress->Events()),
              (std::vector<std::string>{"Autofixing image...", "Fixing exposure...", "Applying curve to image..."}));
}

// ---------------------------------------------------------------- the colour fix

// The gains are the detection's (tested on its own); the fix maps each channel
// through its own gain, rounded to the nearest level, and keeps the fourth byte.
TEST(Autofix, TheColorFixAppliesEachChannelsGain)
{
    const auto source = WarmPicture(40, 30);
    ColorCastFactors gains;
    ASSERT_TRUE(AnalyseColorCast(RowsOf(source.Get()), {}, gains));
    ASSERT_TRUE(gains.red != 1.0 && gains.green != 1.0 && gains.blue != 1.0) << "the picture has a cast";

    const auto progress = Recorder();
    const CComPtr<IImage> result = Applied(source.Get(), AutofixText({.color = true}), progress.Get());
    ASSERT_TRUE(result);
    const std::vector<uint32_t> before = PixelsOf(source.Get());
    const std::vector<uint32_t> after = PixelsOf(result.Get());
    for (size_t i = 0; i < before.size(); ++i) {
        const uint32_t p = before[i];
        ASSERT_EQ(after[i], Colour(Gained(Channel(p, 16), gains.red), Gained(Channel(p, 8), gains.green),
                                   Gained(Channel(p, 0), gains.blue), p >> 24))
            << i;
    }
    EXPECT_EQ(TextsOf(progress->Events()),
              (std::vector<std::string>{"Autofixing image...", "Fixing colors...", "Detecting color cast...",
                                        "Applying color cast fixes..."}));
}

// Colours on both sides of grey in equal shares: the mean leans nowhere, so the
// detection finds no cast and the fix succeeds without a change or a second pass.
TEST(Autofix, TheColorFixWithoutADominantCastChangesNothing)
{
    const uint32_t around[] = {Colour(200, 60, 60), Colour(60, 200, 200), Colour(60, 200, 60),
                               Colour(200, 60, 200), Colour(60, 60, 200), Colour(200, 200, 60)};
    const auto source = MakeImage(12, 6, [&](int x, int y) { return around[(x + y) % 6]; });
    ColorCastFactors gains;
    ASSERT_TRUE(AnalyseColorCast(RowsOf(source.Get()), {}, gains));
    ASSERT_TRUE(gains.red == 1.0 && gains.green == 1.0 && gains.blue == 1.0) << "no cast in the picture";

    const auto progress = Recorder();
    const CComPtr<IImage> result = Applied(source.Get(), AutofixText({.color = true}), progress.Get());
    ASSERT_TRUE(result);
    EXPECT_EQ(PixelsOf(result.Get()), PixelsOf(source.Get()));
    EXPECT_EQ(TextsOf(progress->Events()),
              (std::vector<std::string>{"Autofixing image...", "Fixing colors...", "Detecting color cast..."}));
}

// ---------------------------------------------------------------- a fix that fails

// No pixel has all three levels within 25 to 230: the detection has nothing to judge,
// the colour fix fails, the exposure fix after it never runs, and nothing comes back.
TEST(Autofix, AFailingFixEndsTheApplyWithoutStatusOrResult)
{
    const auto source = MakeImage(30, 20, [](int x, int y) { return Colour(10 + x, 100 + y, 240); });
    const FailedApply failed = ApplyExpectingFailure(
        AutofixFilter(source.Get(), AutofixText({.color = true, .exposure = true})).Get(), nullptr,
        CRecordingProgress::kNeverCancel);
    EXPECT_EQ(failed.code, 0) << "no status";
    EXPECT_FALSE(failed.storedResult);
    ASSERT_FALSE(failed.events.empty());
    EXPECT_EQ(failed.events.back().call, Call::Finish);
    EXPECT_FALSE(failed.events.back().success);
    const std::vector<std::string> texts = TextsOf(failed.events);
    EXPECT_EQ(std::count(texts.begin(), texts.end(), "Fixing exposure..."), 0);
    int finishes = 0;
    for (const auto& event : failed.events) finishes += event.call == Call::Finish ? 1 : 0;
    EXPECT_EQ(finishes, 1) << "the fixes' own ends stay inside the phases";

    CComPtr<IImage> result;
    EXPECT_FALSE(AutofixFilter(source.Get(), AutofixText({.color = true}))
                     ->Apply(nullptr, result.Receive(), nullptr, nullptr))
        << "without a sink too";
    EXPECT_FALSE(result);
}

// A stop answered at any step of any fix ends the same way.
TEST(Autofix, AStopEndsWithoutStatusOrResult)
{
    const auto source = GreysReaching40And220();
    for (const int stopAt : {0, 5, 14}) {
        SCOPED_TRACE(stopAt);
        const FailedApply failed = ApplyExpectingFailure(
            AutofixFilter(source.Get(), AutofixText({.exposure = true})).Get(), nullptr, stopAt);
        EXPECT_EQ(failed.code, 0);
        EXPECT_FALSE(failed.storedResult);
        ASSERT_FALSE(failed.events.empty());
        EXPECT_EQ(failed.events.back().call, Call::Finish);
        EXPECT_FALSE(failed.events.back().success);
    }
}

// ---------------------------------------------------------------- the noise fix

// Under 320 pixels a side the engine measures no noise, and with levels of 0 the
// picture comes back as it was, fourth bytes too; the engine's steps fill the
// fix's one phase.
TEST(Autofix, TheNoiseFixOnAPictureTooSmallToMeasureKeepsIt)
{
    const auto source = MakeImage(319, 40, DistinctPixel);
    const auto progress = Recorder();
    const CComPtr<IImage> result = Applied(source.Get(), AutofixText({.noise = true}), progress.Get());
    ASSERT_TRUE(result);
    EXPECT_EQ(PixelsOf(result.Get()), PixelsOf(source.Get()));
    EXPECT_EQ(TextsOf(progress->Events()),
              (std::vector<std::string>{"Autofixing image...", "Apply noise reduction filter"}));
    int steps = 0;
    for (const auto& event : progress->Events()) {
        if (event.call != Call::Step) continue;
        ++steps;
        EXPECT_EQ(event.total, 1000);
        EXPECT_LE(event.done, 1000);
    }
    EXPECT_GT(steps, 0);
}

// ---------------------------------------------------------------- the rotation fix

// Lines turned counter-clockwise by 4 degrees come out level: the turn is the
// detected tilt negated, by its exact angle, cropped and scaled back to the size.
TEST_F(AutofixWithHost, TheRotationFixLevelsATiltedPictureAndKeepsItsSize)
{
    for (const double degrees : {4.0, -3.0}) {
        SCOPED_TRACE(degrees);
        const auto tilted = WarmTiltedLines(400, 300, degrees);
        const float tilt = DetectedTilt(tilted.Get());
        ASSERT_NEAR(Degrees(tilt), degrees, 0.2);

        const auto progress = Recorder();
        const CComPtr<IImage> result = Applied(tilted.Get(), AutofixText({.rotation = true}), progress.Get());
        ASSERT_TRUE(result);
        EXPECT_EQ(SizeOf(result.Get()), std::pair(400, 300));
        const float left = DetectedTilt(static_cast<CHostImage*>(result.Get()));
        EXPECT_LT(std::abs(Degrees(left)), 0.15) << "from " << Degrees(tilt);

        const CComPtr<IImage> expected = TurnedAgainstItsTilt(tilted.Get());
        ASSERT_TRUE(expected);
        EXPECT_EQ(PixelsOf(result.Get()), PixelsOf(expected.Get()));
        EXPECT_EQ(TextsOf(progress->Events()),
                  (std::vector<std::string>{"Autofixing image...", "Fixing rotation...", "Rotating"}));
    }
}

// A free rotation whose factory holds no host cannot make the turned image: the fix
// fails, and the apply with it, without the rotation's status.
TEST(AutofixRotation, ATurnThatCannotBeMadeFailsTheApply)
{
    FactoryOf<CInteractiveRotateFactory>().Uninitialize(0);
    const auto tilted = WarmTiltedLines(200, 150, 4.0);
    const FailedApply failed = ApplyExpectingFailure(
        AutofixFilter(tilted.Get(), AutofixText({.rotation = true, .exposure = true})).Get(), nullptr,
        CRecordingProgress::kNeverCancel);
    EXPECT_EQ(failed.code, 0);
    EXPECT_FALSE(failed.storedResult);
    ASSERT_FALSE(failed.events.empty());
    EXPECT_FALSE(failed.events.back().success);
    const std::vector<std::string> texts = TextsOf(failed.events);
    EXPECT_EQ(std::count(texts.begin(), texts.end(), "Fixing exposure..."), 0);
}

// Found by the robustness test: a stop answered during the straightening detection
// made the detection answer 0, as for a level photo, and the fix went on to turn by
// 0 degrees and hand out a result. The stop now ends the fix, whichever step of the
// detection it comes at, and a sink that asks only once is heeded too.
TEST_F(AutofixWithHost, AStopDuringTheDetectionEndsTheApplyWithNothingHandedOut)
{
    const auto tilted = WarmTiltedLines(200, 150, 4.0);
    for (const int stopAt : {0, 40, 300}) {
        SCOPED_TRACE(stopAt);
        const FailedApply failed = ApplyExpectingFailure(
            AutofixFilter(tilted.Get(), AutofixText({.rotation = true})).Get(), nullptr, stopAt);
        EXPECT_EQ(failed.code, 0);
        EXPECT_FALSE(failed.storedResult);
        const std::vector<std::string> texts = TextsOf(failed.events);
        EXPECT_EQ(std::count(texts.begin(), texts.end(), "Rotating"), 0) << "no turn after the stop";
        ASSERT_FALSE(failed.events.empty());
        EXPECT_FALSE(failed.events.back().success);
    }
}

// Where nothing is tilted, the turn is by 0 degrees: the exact copy.
TEST_F(AutofixWithHost, TheRotationFixWithoutATiltCopies)
{
    const auto flat = MakeImage(120, 90, [](int x, int y) { return Colour(150, 120, 90, static_cast<uint32_t>(x ^ y)); });
    ASSERT_EQ(DetectedTilt(flat.Get()), 0.0f);
    const CComPtr<IImage> result = Applied(flat.Get(), AutofixText({.rotation = true}));
    ASSERT_TRUE(result);
    EXPECT_EQ(PixelsOf(result.Get()), PixelsOf(flat.Get()));
}

// The fixes after the turn work on the turned picture, and it is the one handed
// out: rotation then exposure is the stretch of the turned picture's own limits.
TEST_F(AutofixWithHost, TheTurnedPictureIsTheOneTheLaterFixesChange)
{
    const auto tilted = WarmTiltedLines(400, 300, 5.0);
    const CComPtr<IImage> turned = Applied(tilted.Get(), AutofixText({.rotation = true}));
    const CComPtr<IImage> both = Applied(tilted.Get(), AutofixText({.rotation = true, .exposure = true}));
    ASSERT_TRUE(turned && both);

    std::array<uint32_t, 256> luminance{};
    const std::vector<uint32_t> pixels = PixelsOf(turned.Get());
    for (const uint32_t p : pixels) ++luminance[(306 * Channel(p, 16) + 601 * Channel(p, 8) + 117 * Channel(p, 0)) >> 10];
    uint8_t table[256];
    BuildExposureFixTable(luminance.data(), table);
    const ExposureFixLimits limits = FindExposureFixLimits(luminance.data());
    ASSERT_TRUE(limits.left > 0 || limits.right < 255) << "the stretch changes something";

    const std::vector<uint32_t> after = PixelsOf(both.Get());
    ASSERT_EQ(after.size(), pixels.size());
    for (size_t i = 0; i < pixels.size(); ++i) {
        const uint32_t p = pixels[i];
        ASSERT_EQ(after[i], Colour(table[Channel(p, 16)], table[Channel(p, 8)], table[Channel(p, 0)], p >> 24)) << i;
    }
}

// ---------------------------------------------------------------- order and phases

namespace {

// Where each text's steps must fall in a fix's thousand: the first pass of a
// two-pass fix in its first half, the second in its second half, the noise fix's
// one pass over the whole.
struct Span {
    int phase;
    int from;
    int to;
};

const std::map<std::string, Span>& SpanOfText()
{
    static const std::map<std::string, Span> spans{
        {"Fixing rotation...", {0, 0, 500}},         {"Rotating", {0, 500, 1000}},
        {"Fixing colors...", {1, 0, 500}},           {"Detecting color cast...", {1, 0, 500}},
        {"Applying color cast fixes...", {1, 500, 1000}}, {"Fixing exposure...", {2, 0, 500}},
        {"Applying curve to image...", {2, 500, 1000}},   {"Apply noise reduction filter", {3, 0, 1000}}};
    return spans;
}

} // namespace

TEST_F(AutofixWithHost, TheFourFixesRunInTheirOrderEachInItsPhase)
{
    const auto tilted = WarmTiltedLines(400, 300, 3.0);
    const auto progress = Recorder();
    ASSERT_TRUE(Applied(tilted.Get(), AutofixText({.rotation = true, .color = true, .exposure = true, .noise = true}),
                        progress.Get()));
    EXPECT_EQ(TextsOf(progress->Events()),
              (std::vector<std::string>{"Autofixing image...", "Fixing rotation...", "Rotating", "Fixing colors...",
                                        "Detecting color cast...", "Applying color cast fixes...",
                                        "Fixing exposure...", "Applying curve to image...",
                                        "Apply noise reduction filter"}));

    std::optional<Span> span;
    std::map<int, int> stepsPerPhase;
    int last = 0;
    for (const auto& event : progress->Events()) {
        if (event.call == Call::SetText && event.text != u"Autofixing image...") {
            span = SpanOfText().at(NarrowToUtf8(event.text));
        } else if (event.call == Call::Step) {
            ASSERT_TRUE(span.has_value()) << "a step before any fix";
            EXPECT_EQ(event.total, 4000);
            EXPECT_GE(event.done, span->phase * 1000 + span->from) << NarrowToUtf8(event.text);
            EXPECT_LE(event.done, span->phase * 1000 + span->to);
            EXPECT_GE(event.done, last) << "never back";
            last = event.done;
            ++stepsPerPhase[span->phase];
        }
    }
    EXPECT_EQ(stepsPerPhase.size(), 4u) << "every fix reports";
    EXPECT_EQ(progress->CountOf(Call::Finish), 1);
    EXPECT_EQ(progress->Events().back().call, Call::Finish);
    EXPECT_TRUE(progress->Events().back().success);
}

// With two fixes the apply has two phases: the exposure fix, second, takes the
// second half.
TEST(Autofix, ThePhasesAreTheFixesSwitchedOn)
{
    const auto source = WarmPicture(40, 30);
    const auto progress = Recorder();
    ASSERT_TRUE(Applied(source.Get(), AutofixText({.color = true, .exposure = true}), progress.Get()));
    bool exposure = false;
    for (const auto& event : progress->Events()) {
        if (event.call == Call::SetText) exposure = exposure || event.text == u"Fixing exposure...";
        if (event.call != Call::Step) continue;
        EXPECT_EQ(event.total, 2000);
        if (exposure) EXPECT_GE(event.done, 1000);
        else EXPECT_LE(event.done, 1000);
    }
    EXPECT_TRUE(exposure);
}
