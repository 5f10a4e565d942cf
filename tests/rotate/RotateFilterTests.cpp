// The free rotation as a host drives it: the parameter text, the hand-off of right
// angles, the size of each crop type, the background, which way it turns, progress
// and refusals, the line drawn on the preview, and the automatic angle. Sizes are
// worked out by hand from the rules; rows are section rows (row 0 at the bottom).

#include "tests/CountingHost.h"
#include "tests/HostDoubles.h"
#include "tests/CliRunner.h"
#include "tests/TestSupport.h"
#include "tests/shared/straightening/KnownTilts.h"

#include "Common/base/FilterFormat.h"
#include "Common/params/ParamList.h"
#include "filters/flip-rotate/Rot0DegreesFactory.h"
#include "filters/flip-rotate/Rot180Factory.h"
#include "filters/flip-rotate/Rot90ClockWiseFactory.h"
#include "filters/flip-rotate/Rot90CounterClockWiseFactory.h"
#include "filters/rotate/RotateFactory.h"
#include "filters/rotate/RotateFilter.h"
#include "filters/shared/straightening/StraighteningAngle.h"
#include "plugin/StraighteningInterfaces.h"
#include "refhost/PluginHost.h"
#include "refhost/PreviewSite.h"

#include <QSet>
#include <QTemporaryDir>


#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <string>
#include <vector>

namespace {

using Call = CRecordingProgress::Call;

constexpr uint32_t kRed = 0x000000FFu;          // as a colour value, 0x00BBGGRR
constexpr uint32_t kRedPixel = 0x00FF0000u;     // as stored: blue 0, green 0, red 255, fourth 0
constexpr double kDegreesPerRadian = 57.29577951308232;

CFilterFactoryBase& RotateFactory()
{
    return FactoryOf<CInteractiveRotateFactory>();
}

// The free rotation's factory and the four exact ones it hands right angles to, in
// the order 0, 90, 180, 270 degrees.
std::array<CFilterFactoryBase*, 5> Factories()
{
    return {&RotateFactory(), &FactoryOf<CRot0DegreesFactory>(), &FactoryOf<CRot90CounterClockWiseFactory>(),
            &FactoryOf<CRot180Factory>(), &FactoryOf<CRot90ClockWiseFactory>()};
}

void InitializeAll(IPluginHost* host)
{
    for (CFilterFactoryBase* factory : Factories()) factory->Initialize(host, 0);
}

WString RotateText(double angle, uint32_t background, int cropType)
{
    CParamList params;
    params.SetDouble(u"angle", angle);
    params.SetInt(u"colorBkgnd", static_cast<int>(background));
    params.SetInt(u"croptype", cropType);
    return params.ToString();
}

double StoredAngle(IInteractiveFilter* filter)
{
    double angle = -1000.0;
    CParamList(ReadFilterFormat(filter).c_str()).GetDouble(u"angle", angle);
    return angle;
}

// The reference host's images keep their rows packed.
uint32_t PixelAt(IImage* image, int x, int y)
{
    return static_cast<CHostImage*>(image)->Row(y)[x];
}

// The part of image inside a margin, as a picture of its own.
CComPtr<CHostImage> Inner(IImage* image, int margin)
{
    const auto [width, height] = SizeOf(image);
    return MakeImage(width - 2 * margin, height - 2 * margin,
                     [&](int x, int y) { return PixelAt(image, x + margin, y + margin); });
}

// The least-squares slope of points (x, y).
struct SlopeFit {
    double n = 0, sx = 0, sy = 0, sxx = 0, sxy = 0;

    void Add(double x, double y)
    {
        n += 1;
        sx += x;
        sy += y;
        sxx += x * x;
        sxy += x * y;
    }
    double Slope() const { return (n * sxy - sx * sy) / (n * sxx - sx * sx); }
};

class RotateFilter : public ::testing::Test {
protected:
    void SetUp() override { InitializeAll(host.Get()); }
    void TearDown() override
    {
        for (CFilterFactoryBase* factory : Factories()) factory->Uninitialize(0);
    }

    // A filter of source with the given settings; a null text sets none.
    static CComPtr<IInteractiveFilter> Filter(CHostImage* source, const WString* text)
    {
        return CreateInteractiveFilter(RotateFactory(), static_cast<IImage*>(source),
                                       text != nullptr ? text->c_str() : nullptr);
    }

    static CComPtr<IInteractiveFilter> Filter(CHostImage* source, double angle, uint32_t background = 0,
                                              int cropType = 0)
    {
        const WString text = RotateText(angle, background, cropType);
        return Filter(source, &text);
    }

    // The result of applying filter to its source, or null when it failed.
    static CComPtr<IImage> Applied(IFilter* filter, IProgress* progress = nullptr)
    {
        CComPtr<IImage> result;
        CComPtr<IStatus> status;
        const bool applied = filter->Apply(nullptr, result.Receive(), progress, status.Receive());
        EXPECT_EQ(applied, static_cast<bool>(result));
        if (status) ADD_FAILURE() << "status " << status->GetCode();
        return result;
    }

    // What one apply of filter to its source gave: the picture and the progress calls.
    struct Outcome {
        CComPtr<IImage> result;
        std::vector<std::pair<Call, int>> calls;  // the call, and a Step's done count
    };

    static Outcome RunWithProgress(IFilter* filter)
    {
        const auto progress = Recorder();
        Outcome outcome{Applied(filter, progress.Get()), {}};
        for (const auto& event : progress->Events()) outcome.calls.emplace_back(event.call, event.done);
        return outcome;
    }

    static std::pair<int, int> AppliedSize(IFilter* filter)
    {
        const CComPtr<IImage> result = Applied(filter);
        return result ? SizeOf(result.Get()) : std::pair(0, 0);
    }

    CComPtr<IPluginHost> host = CComPtr<IPluginHost>::Adopt(CPluginHost::Create(0x0409));
};

} // namespace

// ---------------------------------------------------------------- right angles

// Within 0.01 of a right angle the exact filter runs: its pixels and its progress
// calls. Just outside, the resampling runs: its calls or its pixels differ (a turn
// of 360 may copy every pixel, but it reports each row, which Rotate 0 does not).
TEST_F(RotateFilter, RightAnglesAreHandedToTheExactFilters)
{
    const auto source = MakeImage(200, 150, DistinctPixel);
    const auto f = Factories();
    const auto exactOutcome = [&](CFilterFactoryBase* factory) {
        CComPtr<IFilter> exact;
        EXPECT_TRUE(factory->CreateFilter(static_cast<IImage*>(source.Get()), exact.Receive(), nullptr));
        return RunWithProgress(exact.Get());
    };
    const std::pair<double, CFilterFactoryBase*> handedOff[] = {
        {0.0, f[1]},     {0.005, f[1]},   {-0.009, f[1]},  {89.995, f[2]}, {90.0, f[2]},
        {90.0099, f[2]}, {180.009, f[3]}, {179.992, f[3]}, {270.0, f[4]},  {269.991, f[4]}};
    for (const auto& [angle, factory] : handedOff) {
        SCOPED_TRACE(std::to_string(angle) + " degrees");
        const Outcome rotated = RunWithProgress(Filter(source.Get(), angle).Get());
        const Outcome expected = exactOutcome(factory);
        ASSERT_TRUE(rotated.result);
        ASSERT_TRUE(expected.result);
        EXPECT_TRUE(SamePixels(rotated.result.Get(), expected.result.Get()));
        EXPECT_EQ(rotated.calls, expected.calls);
    }

    const std::pair<double, CFilterFactoryBase*> resampled[] = {
        {0.02, f[1]}, {-0.011, f[1]}, {89.98, f[2]}, {180.011, f[3]}, {270.02, f[4]}, {360.0, f[1]}, {450.0, f[2]}};
    for (const auto& [angle, nearest] : resampled) {
        SCOPED_TRACE(std::to_string(angle) + " degrees is resampled");
        const Outcome rotated = RunWithProgress(Filter(source.Get(), angle).Get());
        const Outcome exact = exactOutcome(nearest);
        ASSERT_TRUE(rotated.result);
        EXPECT_EQ(static_cast<int>(std::count_if(rotated.calls.begin(), rotated.calls.end(),
                                                 [](const auto& call) { return call.first == Call::Step; })),
                  SizeOf(rotated.result.Get()).second);
        EXPECT_FALSE(rotated.calls == exact.calls && SamePixels(rotated.result.Get(), exact.result.Get()));
    }
}

// ---------------------------------------------------------------- sizes and pixels

// 100 x 100 at 45 keeping the whole picture: the corners (0, 99) and (99, 99) turn
// to (-70.004, 70.004) and (0, 140.007), so the box is 141 x 141 and its corners lie
// outside the turned square; its middle lies deep inside.
TEST_F(RotateFilter, KeepingTheWholePictureFillsTheCornersWithTheBackground)
{
    const auto source = MakeImage(100, 100, [](int, int) { return GreyPixel(200); });
    for (const auto& [colour, pixel] : {std::pair{kRed, kRedPixel}, std::pair{0x00123456u, 0x00563412u}}) {
        const CComPtr<IImage> rotated = Applied(Filter(source.Get(), 45.0, colour, 0).Get());
        ASSERT_TRUE(rotated);
        ASSERT_EQ(SizeOf(rotated.Get()), std::pair(141, 141));
        for (const int x : {0, 140}) {
            for (const int y : {0, 140}) EXPECT_EQ(PixelAt(rotated.Get(), x, y), pixel) << x << "," << y;
        }
        // The four weights of a point add up to 1023 to 1026 parts of 1024.
        const uint32_t middle = PixelAt(rotated.Get(), 70, 70) & 0x00FFFFFFu;
        EXPECT_TRUE(middle == 0x00C8C8C8u || middle == 0x00C7C7C7u) << std::hex << middle;
    }
}

// 60 x 30 at 20 degrees (cos 0.9396926, sin 0.3420201), worked by hand.
// Whole: the corners (0, 29), (59, 29), (59, 0) turn to (-9.919, 27.251),
// (45.523, 47.430), (55.442, 20.179): x from -10 to 55, y from 0 to 47, 66 x 48.
// Inside, half sizes (x, y) of a centred rectangle must keep x c + y s <= 30 and
// x s + y c <= 15. Source proportions x = 2y: y <= 15 / 1.6237 = 9.238, so 18 x 9
// whole pixels (squared half diagonal 405); swapped y = 2x: x <= 15 / 2.2214 = 6.752,
// so 6 x 13 (205). The source's win: 2 x 18 + 1 by 2 x 9 + 1, 37 x 19.
// At 70 degrees sine and cosine trade places, the swapped proportions win (9 x 18),
// and the outputs are 19 x 37 and, scaled back, 30 x 60.
TEST_F(RotateFilter, EachCropTypeGivesItsHandWorkedSize)
{
    const auto source = MakeImage(60, 30, DistinctPixel);
    EXPECT_EQ(AppliedSize(Filter(source.Get(), 20.0, 0, 0).Get()), std::pair(66, 48));
    EXPECT_EQ(AppliedSize(Filter(source.Get(), 20.0, 0, 1).Get()), std::pair(37, 19));
    EXPECT_EQ(AppliedSize(Filter(source.Get(), 20.0, 0, 2).Get()), std::pair(60, 30));
    EXPECT_EQ(AppliedSize(Filter(source.Get(), 70.0, 0, 1).Get()), std::pair(19, 37));
    EXPECT_EQ(AppliedSize(Filter(source.Get(), 70.0, 0, 2).Get()), std::pair(30, 60));
    // Turning the other way, or by a half turn more, mirrors the geometry: the same
    // sizes in every quadrant.
    for (const double angle : {-20.0, 340.0, 160.0, 200.0}) {
        SCOPED_TRACE(angle);
        EXPECT_EQ(AppliedSize(Filter(source.Get(), angle, 0, 0).Get()), std::pair(66, 48));
        EXPECT_EQ(AppliedSize(Filter(source.Get(), angle, 0, 1).Get()), std::pair(37, 19));
    }
    for (const double angle : {110.0, 250.0, -70.0}) {
        SCOPED_TRACE(angle);
        EXPECT_EQ(AppliedSize(Filter(source.Get(), angle, 0, 1).Get()), std::pair(19, 37));
        EXPECT_EQ(AppliedSize(Filter(source.Get(), angle, 0, 2).Get()), std::pair(30, 60));
    }
}

// The middle of the cropped output is the source's middle: at 20 degrees the centre
// (29.5, 14.5) is where the 37 x 19 crop and the 60 x 30 scaled one are centred, so
// their middles see the flat source's value, not the background.
TEST_F(RotateFilter, CropsHoldNoBackground)
{
    const auto source = MakeImage(60, 30, [](int, int) { return GreyPixel(90); });
    for (const int crop : {1, 2}) {
        SCOPED_TRACE("crop type " + std::to_string(crop));
        const CComPtr<IImage> rotated = Applied(Filter(source.Get(), 20.0, 0x00FFFFFFu, crop).Get());
        ASSERT_TRUE(rotated);
        const auto inner = Inner(rotated.Get(), 1);
        for (int y = 0; y < inner->Height(); ++y) {
            for (int x = 0; x < inner->Width(); ++x) {
                const uint32_t blue = inner->Row(y)[x] & 0xFFu;
                ASSERT_TRUE(blue == 90 || blue == 89) << x << "," << y << ": " << blue;
            }
        }
    }
}

// A positive angle turns counter-clockwise on screen: a dark level line through the
// middle comes out climbing to the right at tan 10 = 0.1763 rows per column.
TEST_F(RotateFilter, APositiveAngleTurnsCounterClockwise)
{
    const auto source = MakeImage(121, 61, [](int, int y) { return GreyPixel(std::abs(y - 30) <= 1 ? 35 : 225); });
    for (const double angle : {10.0, 350.0}) {
        SCOPED_TRACE(std::to_string(angle) + " degrees");
        const CComPtr<IImage> rotated = Applied(Filter(source.Get(), angle, 0x00FFFFFFu, 0).Get());
        ASSERT_TRUE(rotated);
        // The darkness-weighted row of the line in each column, then a fitted slope.
        SlopeFit sums;
        const auto [width, height] = SizeOf(rotated.Get());
        for (int x = 10; x < width - 10; ++x) {
            double weight = 0.0;
            double rows = 0.0;
            for (int y = 0; y < height; ++y) {
                const double ink = 255.0 - (PixelAt(rotated.Get(), x, y) & 0xFFu);
                if (ink < 64) continue;
                weight += ink;
                rows += ink * y;
            }
            if (weight > 0) sums.Add(x, rows / weight);
        }
        EXPECT_NEAR(sums.Slope(), angle < 180 ? 0.1763 : -0.1763, 0.005);
    }
}

// ---------------------------------------------------------------- the parameter text

// A text without a key leaves that setting as it was.
TEST_F(RotateFilter, AMissingKeyKeepsTheSettingItHad)
{
    const auto source = MakeImage(60, 30, DistinctPixel);
    const CComPtr<IInteractiveFilter> filter = Filter(source.Get(), 20.0, kRed, 0);
    EXPECT_EQ(AppliedSize(filter.Get()), std::pair(66, 48));
    filter->SetFormat(u"croptype:1\n");
    EXPECT_EQ(AppliedSize(filter.Get()), std::pair(37, 19)) << "the angle stays 20";
    filter->SetFormat(u"ANGLE:70\n");
    EXPECT_EQ(AppliedSize(filter.Get()), std::pair(19, 37)) << "keys in any letter case; the crop type stays 1";
    filter->SetFormat(u"croptype:0\n");
    filter->SetFormat(u"");
    filter->SetFormat(nullptr);
    const CComPtr<IImage> whole = Applied(filter.Get());
    ASSERT_TRUE(whole);
    EXPECT_EQ(PixelAt(whole.Get(), 0, 0), kRedPixel) << "the background stays red";

    const CComPtr<IInteractiveFilter> fresh = Filter(source.Get(), nullptr);
    const CComPtr<IImage> unturned = Applied(fresh.Get());
    ASSERT_TRUE(unturned);
    EXPECT_TRUE(SamePixels(unturned.Get(), static_cast<IImage*>(source.Get()))) << "no text: no turn";
}

// ---------------------------------------------------------------- progress and refusals

TEST_F(RotateFilter, AnnouncesItselfAndReportsEveryRowBeforeIt)
{
    const auto source = MakeImage(60, 30, DistinctPixel);
    const CComPtr<IInteractiveFilter> filter = Filter(source.Get(), 20.0);
    const auto progress = Recorder();
    ASSERT_TRUE(Applied(filter.Get(), progress.Get()));
    const auto& events = progress->Events();
    ASSERT_EQ(events.size(), 1u + 48u + 1u);
    EXPECT_EQ(events.front().call, Call::SetText);
    EXPECT_EQ(events.front().text, u"Rotating");
    for (int y = 0; y < 48; ++y) {
        const auto& step = events[static_cast<size_t>(y) + 1];
        EXPECT_EQ(step.call, Call::Step);
        EXPECT_EQ(std::make_pair(step.done, step.total), std::make_pair(y, 48));
    }
    EXPECT_EQ(events.back().call, Call::Finish);
    EXPECT_TRUE(events.back().success);
}

TEST_F(RotateFilter, AStopEndsWithCodeEightAndAnUnsuccessfulFinish)
{
    const auto source = MakeImage(60, 30, DistinctPixel);
    const CComPtr<IInteractiveFilter> filter = Filter(source.Get(), 20.0);
    for (const int stopAt : {0, 5, 47}) {
        SCOPED_TRACE("stop at step " + std::to_string(stopAt));
        const FailedApply failed = ApplyExpectingFailure(filter.Get(), nullptr, stopAt);
        EXPECT_EQ(failed.code, 8);
        EXPECT_FALSE(failed.storedResult);
        ASSERT_EQ(failed.events.size(), static_cast<size_t>(stopAt) + 3);
        EXPECT_EQ(failed.events.back().call, Call::Finish);
        EXPECT_FALSE(failed.events.back().success);
    }
}

TEST_F(RotateFilter, RefusesWithoutAResultOrAnInput)
{
    const auto source = MakeImage(6, 4, DistinctPixel);
    for (const double angle : {20.0, 90.0}) {
        const FailedApply noResult = ApplyExpectingFailure(Filter(source.Get(), angle).Get(), nullptr,
                                                           CRecordingProgress::kNeverCancel, false);
        EXPECT_EQ(noResult.code, 5) << angle;
        EXPECT_TRUE(noResult.events.empty()) << angle;
    }

    const auto notAnImage = CComPtr<CHostImage>::Adopt(CImageWithout::Create(6, 4, IID_IImage));
    const FailedApply refused = ApplyExpectingFailure(Filter(source.Get(), 20.0).Get(),
                                                      static_cast<IImage*>(notAnImage.Get()),
                                                      CRecordingProgress::kNeverCancel);
    EXPECT_EQ(refused.code, 6);
    EXPECT_FALSE(refused.storedResult);

    // The factories refuse to make a filter without a source; a host could still
    // hold one whose source went away.
    const auto sourceless = CComPtr<IInteractiveFilter>::Adopt(new CInteractiveRotate(nullptr, host.Get()));
    sourceless->SetFormat(u"angle:20\n");
    EXPECT_EQ(ApplyExpectingFailure(sourceless.Get(), nullptr, CRecordingProgress::kNeverCancel).code, 5);
}

// Without a host, or with one that cannot make the output, the apply is code 6.
TEST_F(RotateFilter, AnOutputTheHostCannotMakeIsCodeSix)
{
    const auto source = MakeImage(6, 4, DistinctPixel);
    const auto expectRefused = [&](const char* what) {
        SCOPED_TRACE(what);
        const FailedApply failed =
            ApplyExpectingFailure(Filter(source.Get(), 20.0).Get(), nullptr, CRecordingProgress::kNeverCancel);
        EXPECT_EQ(failed.code, 6);
        EXPECT_FALSE(failed.storedResult);
    };
    RotateFactory().Uninitialize(0);
    expectRefused("no host");
    using Refusal = CRefusingHost::Refusal;
    for (const auto& [refusal, what] : {std::pair{Refusal::CreateImage, "no image"},
                                        std::pair{Refusal::NoBitmap, "no IBitmap"},
                                        std::pair{Refusal::Allocate, "no pixels"}}) {
        RotateFactory().Initialize(CComPtr<IPluginHost>::Adopt(new CRefusingHost(refusal)).Get(), 0);
        expectRefused(what);
    }
}

// A single pixel has no diagonal to search along: crop types 1 and 2 find no
// rectangle, and the apply answers false without a status or any progress.
TEST_F(RotateFilter, NoCropRectangleIsAFailureWithoutStatus)
{
    const auto dot = MakeImage(1, 1, DistinctPixel);
    for (const int crop : {1, 2}) {
        const FailedApply failed =
            ApplyExpectingFailure(Filter(dot.Get(), 30.0, 0, crop).Get(), nullptr, CRecordingProgress::kNeverCancel);
        EXPECT_EQ(failed.code, 0) << crop;
        EXPECT_FALSE(failed.storedResult);
        EXPECT_TRUE(failed.events.empty());
    }
    EXPECT_EQ(AppliedSize(Filter(dot.Get(), 30.0, 0, 0).Get()), std::pair(1, 1));
}

TEST_F(RotateFilter, AppliesLeaveNoReferencesBehind)
{
    auto* counting = new CCountingHost(0x0409);
    InitializeAll(static_cast<IPluginHost*>(counting));
    const int heldByFactories = counting->HeldByOthers();
    {
        const auto source = MakeImage(6, 4, DistinctPixel);
        const CComPtr<IInteractiveFilter> filter = Filter(source.Get(), 20.0);
        for (const double angle : {20.0, 90.0, 0.0}) {
            filter->SetFormat(RotateText(angle, 0, 0).c_str());
            EXPECT_TRUE(Applied(filter.Get()));
        }
        EXPECT_EQ(RefCountOf(static_cast<IImage*>(source.Get())), 2u) << "the test and the filter";
    }
    EXPECT_EQ(counting->HeldByOthers(), heldByFactories);
    for (CFilterFactoryBase* factory : Factories()) factory->Uninitialize(0);
    EXPECT_EQ(counting->HeldByOthers(), 0);
    counting->Release();
}

// ---------------------------------------------------------------- the drawn line

class RotateLine : public RotateFilter {
protected:
    void SetUp() override
    {
        RotateFilter::SetUp();
        filter = Filter(source.Get(), 0.0);
        filter->SetPreviewSite(site.Get());
    }

    // The angle after drawing line when the angle was start.
    double AfterLine(double start, const char16_t* line)
    {
        filter->SetFormat(RotateText(start, 0, 0).c_str());
        site->SelectByUser(line);
        filter->SelectionChanged();
        return StoredAngle(filter.Get());
    }

    CComPtr<CHostImage> source = MakeImage(60, 30, DistinctPixel);
    CComPtr<CPreviewSite> site = CComPtr<CPreviewSite>::Adopt(CPreviewSite::Create(nullptr));
    CComPtr<IInteractiveFilter> filter;
};

// The turn that levels a line, or stands it upright when it is steeper than 45
// degrees, added to the angle and brought into [0, 360). y counts from the top, so a
// line falling to the right needs a counter-clockwise turn.
TEST_F(RotateLine, AddsTheTiltOfTheDrawnLine)
{
    const double tilt = std::atan(0.1) * kDegreesPerRadian;  // 5.7106
    struct Case {
        double start;
        const char16_t* line;
        double expected;
    };
    const Case cases[] = {
        {0, u"10 10 110 20", tilt},        {0, u"110 20 10 10", tilt},        {0, u"10 20 110 10", 360 - tilt},
        {0, u"10 10 20 110", 360 - tilt},  {0, u"20 10 10 110", tilt},        {358, u"10 10 110 20", tilt - 2},
        {30, u"0 0 50 50", 75},            {300, u"0 50 50 0", 255},          {10, u"-5 3 95 13 more", 10 + tilt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(NarrowToUtf8(c.line) + " from " + std::to_string(c.start));
        EXPECT_NEAR(AfterLine(c.start, c.line), c.expected, 1e-6);
    }
    EXPECT_EQ(site->ToolModes().back(), std::make_pair(1, 0));
}

TEST_F(RotateLine, ALineWithoutBothExtentsKeepsTheAngle)
{
    const char16_t* const lines[] = {u"10 10 10 50", u"5 7 90 7", u"10 10 110", u"a b c d", u"", nullptr};
    for (const char16_t* line : lines) {
        SCOPED_TRACE(line != nullptr ? NarrowToUtf8(line) : std::string("null"));
        EXPECT_EQ(AfterLine(12.5, line), 12.5);
    }
}

// The new angle is the filter's setting, not only its text: 45 degrees keeping the
// whole 60 x 30 picture spans x from round(-20.506) = -21 to round(41.719) = 42 and
// y from 0 to round(62.225) = 62.
TEST_F(RotateLine, TheNewAngleIsApplied)
{
    AfterLine(0, u"0 0 50 50");
    EXPECT_EQ(AppliedSize(filter.Get()), std::pair(64, 63));
    EXPECT_EQ(site->ToolModes(), (std::vector<std::pair<int, int>>{{1, 0}}));
}

// ---------------------------------------------------------------- the automatic angle

// Lines turned counter-clockwise by 3 degrees need a clockwise turn of 3: the
// detection's angle, negated.
TEST_F(RotateFilter, TheAutomaticAngleUndoesTheDetectedTilt)
{
    for (const double degrees : {3.0, -3.0, 6.0}) {
        for (const bool upright : {false, true}) {
            SCOPED_TRACE(std::to_string(degrees) + (upright ? " upright" : " level"));
            const auto tilted = TiltedLines(400, 300, LinePattern{.degrees = degrees, .upright = upright});
            const CComPtr<IInteractiveFilter> filter = Filter(tilted.Get(), 0.0);
            const auto automatic = CComPtr<IAutomaticAngle>::Query(filter.Get(), IID_IAutomaticAngle);
            ASSERT_TRUE(automatic);
            double radians = 0.0;
            ASSERT_TRUE(automatic->GetAutomaticAngle(&radians));
            EXPECT_NEAR(Degrees(radians), -degrees, 0.1);
            EXPECT_EQ(radians, -static_cast<double>(DetectedTilt(tilted.Get())));
        }
    }
}

TEST_F(RotateFilter, NoTiltFoundLeavesTheAngleAlone)
{
    const auto flat = MakeImage(200, 150, [](int, int) { return GreyPixel(77); });
    const auto automatic = CComPtr<IAutomaticAngle>::Query(Filter(flat.Get(), 0.0).Get(), IID_IAutomaticAngle);
    ASSERT_TRUE(automatic);
    double radians = 1.25;
    EXPECT_FALSE(automatic->GetAutomaticAngle(&radians));
    EXPECT_EQ(radians, 1.25);

    const auto sourceless = CComPtr<IInteractiveFilter>::Adopt(new CInteractiveRotate(nullptr, host.Get()));
    const auto without = CComPtr<IAutomaticAngle>::Query(sourceless.Get(), IID_IAutomaticAngle);
    ASSERT_TRUE(without);
    EXPECT_FALSE(without->GetAutomaticAngle(&radians));
    EXPECT_EQ(radians, 1.25);
}

// ---------------------------------------------------------------- the nearest variant

namespace {

// 60 x 30 with every colour different and no colour shared by two pixels, saved as a
// file the tool can read.
QImage DistinctColours()
{
    QImage picture(60, 30, QImage::Format_RGB32);
    for (int y = 0; y < 30; ++y) {
        for (int x = 0; x < 60; ++x) picture.setPixel(x, y, qRgb(4 * x, 8 * y, 100));
    }
    return picture;
}

// The tool applies the free rotation with BASICFILTERS_PORTABLE set as given.
QImage RotatedByTheTool(const QString& input, const char* portable, int cropType)
{
    QTemporaryDir directory;
    const QString output = directory.filePath(QStringLiteral("out.png"));
    const RunResult run = RunCli({QStringLiteral("apply"), QStringLiteral("Rotate"), input, output,
                                  QStringLiteral("--set"), QStringLiteral("angle=20"), QStringLiteral("--set"),
                                  QStringLiteral("colorBkgnd=255"), QStringLiteral("--set"),
                                  QStringLiteral("croptype=%1").arg(cropType), QStringLiteral("--quiet")},
                                 {QStringLiteral("BASICFILTERS_PORTABLE=") + portable});
    EXPECT_EQ(run.exitCode, 0) << Describe(run);
    return Pixels(output);
}

} // namespace

// The switch is read once per process, so the tool runs it: the nearest variant
// copies source pixels (or the background) and never scales, so crop type 2 keeps
// the 37 x 19 rectangle of crop type 1, pixel for pixel. Without the switch, crop
// type 2 fills 60 x 30 and blends.
TEST(RotatePortable, TheNearestVariantCopiesAndDoesNotScale)
{
    QTemporaryDir directory;
    const QString input = directory.filePath(QStringLiteral("in.png"));
    const QImage source = DistinctColours();
    ASSERT_TRUE(source.save(input));
    QSet<QRgb> colours{qRgb(255, 0, 0)};
    for (int y = 0; y < source.height(); ++y) {
        for (int x = 0; x < source.width(); ++x) colours.insert(source.pixel(x, y));
    }
    const auto copiedOnly = [&](const QImage& picture) {
        for (int y = 0; y < picture.height(); ++y) {
            for (int x = 0; x < picture.width(); ++x) {
                if (!colours.contains(picture.pixel(x, y))) return false;
            }
        }
        return true;
    };

    const QImage kept = RotatedByTheTool(input, "1", 2);
    EXPECT_EQ(kept.size(), QSize(37, 19));
    EXPECT_TRUE(copiedOnly(kept));
    EXPECT_EQ(kept, RotatedByTheTool(input, "1", 1));
    const QImage whole = RotatedByTheTool(input, "1", 0);
    EXPECT_EQ(whole.size(), QSize(66, 48));
    EXPECT_TRUE(copiedOnly(whole));

    const QImage scaled = RotatedByTheTool(input, "0", 2);
    EXPECT_EQ(scaled.size(), QSize(60, 30));
    EXPECT_FALSE(copiedOnly(scaled));
}
