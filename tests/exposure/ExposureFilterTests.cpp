// The Exposure filter made through its factory as a host makes it: both modes on
// pictures whose levels are worked out by hand, and the progress calls and status
// of every way out.

#include "tests/HostDoubles.h"
#include "tests/TestSupport.h"

#include "filters/exposure/ExposureFactory.h"
#include "refhost/RecordingProgress.h"


#include <gtest/gtest.h>

#include <map>

namespace {


constexpr const char16_t* kStretch50To200 = u"Active:HistCorr\nLeftLimit:50\nRightLimit:200\nMValue:1.700000\n"
                                            u"BValue:-85.000000\n";
// Points (0, 0), (128, 200), (255, 255), and a fourth pair left over from a longer curve.
constexpr const char16_t* kThreePointCurve = u"Active:GradCurves\nNumSplinePoints:3\nX000:0\nY000:0\nX001:128\n"
                                             u"Y001:200\nX002:255\nY002:255\nX003:10\nY003:250\n";

// Red, green and blue of pixel (x, y) taken from levels, so every level shows in
// every channel somewhere.
uint32_t PixelOfLevels(const std::vector<int>& levels, int x, int y)
{
    const auto level = [&](int i) { return static_cast<uint32_t>(levels[static_cast<size_t>(i) % levels.size()]); };
    return 0x3C000000u * static_cast<uint32_t>(1 + (x & 1)) | level(x + y) << 16 | level(x + 2 * y + 1) << 8 |
           level(3 * x + y + 2);
}

// Each colour byte of pixel replaced through expected (level → level), the fourth kept.
uint32_t Expected(uint32_t pixel, const std::map<int, int>& expected)
{
    const auto at = [&](int shift) { return static_cast<uint32_t>(expected.at(static_cast<int>(pixel >> shift & 0xFF))); };
    return (pixel & 0xFF000000u) | at(16) << 16 | at(8) << 8 | at(0);
}

CComPtr<IInteractiveFilter> ExposureFilter(IUnknown* source, const char16_t* format)
{
    return CreateInteractiveFilter(FactoryOf<CExposureFactory>(), source, format);
}

void ExpectMapped(const std::map<int, int>& expected, const char16_t* format)
{
    std::vector<int> levels;
    for (const auto& [level, mapped] : expected) levels.push_back(level);
    const int width = 9;
    const int height = 5;
    auto source = MakeImage(width, height, [&](int x, int y) { return PixelOfLevels(levels, x, y); });
    auto filter = ExposureFilter(static_cast<IImage*>(source.Get()), format);
    CComPtr<IImage> result;
    ASSERT_TRUE(filter->Apply(nullptr, result.Receive(), nullptr, nullptr));
    const auto* pixels = reinterpret_cast<const uint32_t*>(result->GetPixels());
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const uint32_t before = PixelOfLevels(levels, x, y);
            EXPECT_EQ(pixels[y * width + x], Expected(before, expected)) << x << "," << y;
            EXPECT_EQ(source->Row(y)[x], before) << "the source stays";
        }
    }
}

} // namespace

TEST(ExposureFilter, HistogramCorrectionStretchesBetweenTheLimits)
{
    // i x 1.7 - 85, clamped and truncated.
    ExpectMapped({{0, 0}, {30, 0}, {50, 0}, {51, 1}, {100, 85}, {150, 170}, {199, 253}, {200, 255}, {255, 255}},
                 kStretch50To200);
    // Limits 0 and 255 keep every level.
    std::map<int, int> identity;
    for (int level = 0; level < 256; level += 15) identity[level] = level;
    ExpectMapped(identity, u"LeftLimit:0\nRightLimit:255\nMValue:1\nBValue:0\n");
}

TEST(ExposureFilter, OnlyTheSlopeAndOffsetShapeTheTable)
{
    // The limits disagree with the line; the line wins. 2i - 20 for a hand-made line.
    ExpectMapped({{0, 0}, {10, 0}, {11, 2}, {100, 180}, {137, 254}, {138, 255}},
                 u"Active:Whatever\nLeftLimit:3\nRightLimit:4\nMValue:2\nBValue:-20\n");
}

TEST(ExposureFilter, GradationCurveComesFromTheParameterText)
{
    ExpectMapped({{0, 0}, {32, 58}, {64, 113}, {96, 161}, {128, 200}, {160, 225}, {192, 241}, {224, 249}, {255, 255}},
                 kThreePointCurve);
    // The diagonal keeps every level; unrounded points are taken as written.
    std::map<int, int> identity;
    for (int level = 0; level < 256; level += 17) identity[level] = level;
    ExpectMapped(identity, u"Active:GradCurves\nNumSplinePoints:2\nX000:0\nY000:0\nX001:255\nY001:255\n");
    // A line through (0.5, 0.5) and (254.5, 254.5) is the diagonal too.
    ExpectMapped(identity, u"Active:GradCurves\nNumSplinePoints:2\nX000:0.5\nY000:0.5\nX001:254.5\nY001:254.5\n");
}

TEST(ExposureFilter, ATextWithoutACurveMapsEverythingToBlack)
{
    const std::map<int, int> black{{0, 0}, {77, 0}, {200, 0}, {255, 0}};
    ExpectMapped(black, u"Active:GradCurves\nNumSplinePoints:3\nX000:0\nY000:0\nX001:128\nY001:200\n");
    ExpectMapped(black, u"Active:GradCurves\nNumSplinePoints:3\nX000:0\nY000:0\nX001:128\nY001:200\nX002:128\n"
                        u"Y002:255\n");
    ExpectMapped(black, u"Active:GradCurves\nNumSplinePoints:1\nX000:0\nY000:0\n");
    ExpectMapped(black, u"Active:GradCurves\n");
}

TEST(ExposureFilter, ReportsEachRowAndTheEndOnce)
{
    auto source = MakeImage(4, 6, DistinctPixel);
    auto filter = ExposureFilter(static_cast<IImage*>(source.Get()), kThreePointCurve);
    auto progress = Recorder();
    CComPtr<IImage> result;
    ASSERT_TRUE(filter->Apply(nullptr, result.Receive(), progress.Get(), nullptr));
    EXPECT_EQ(ProgressCalls(progress->Events()), "SetText Gradation curve;" + StepCalls(0, 5, 6) + "Finish true;");
}

TEST(ExposureFilter, HistogramTextWithoutAnyOfItsKeysIsRefusedAfterTheAnnouncement)
{
    auto source = MakeImage(3, 2, DistinctPixel);
    const char16_t* formats[] = {
        u"",
        u"RightLimit:200\nMValue:1.7\nBValue:-85\n",
        u"LeftLimit:50\nMValue:1.7\nBValue:-85\n",
        u"LeftLimit:50\nRightLimit:200\nBValue:-85\n",
        u"LeftLimit:50\nRightLimit:200\nMValue:1.7\n",
        // Another letter case is not the curves mode.
        u"Active:gradcurves\nNumSplinePoints:2\nX000:0\nY000:0\nX001:255\nY001:255\n",
    };
    for (const char16_t* format : formats) {
        auto filter = ExposureFilter(static_cast<IImage*>(source.Get()), format);
        const FailedApply failed = ApplyExpectingFailure(filter.Get(), nullptr, CRecordingProgress::kNeverCancel);
        EXPECT_EQ(failed.code, 6) << NarrowToUtf8(format);
        EXPECT_FALSE(failed.storedResult);
        EXPECT_EQ(ProgressCalls(failed.events), "SetText Gradation curve;")
            << "announced, and the sink is not closed";
    }
}

TEST(ExposureFilter, AStopIsStatus8WithTheSinkClosedOnce)
{
    auto source = MakeImage(3, 4, DistinctPixel);
    auto filter = ExposureFilter(static_cast<IImage*>(source.Get()), kStretch50To200);
    const FailedApply failed = ApplyExpectingFailure(filter.Get(), nullptr, 2);
    EXPECT_EQ(failed.code, 8);
    EXPECT_FALSE(failed.storedResult);
    EXPECT_EQ(ProgressCalls(failed.events), "SetText Gradation curve;" + StepCalls(0, 2, 4) + "Finish false;");
    for (int y = 0; y < 4; ++y) EXPECT_EQ(source->Row(y)[1], DistinctPixel(1, y));
}

TEST(ExposureFilter, RefusalsBeforeAnyProgressCall)
{
    auto source = MakeImage(3, 4, DistinctPixel);
    auto filter = ExposureFilter(static_cast<IImage*>(source.Get()), kStretch50To200);
    auto noClone = CComPtr<CImageWithout>::Adopt(CImageWithout::Create(2, 2, IID_ICloneable));
    auto refusing = CComPtr<CRefusingCloneImage>::Adopt(CRefusingCloneImage::Create(2, 2, nullptr));
    static constexpr GUID kBitmap = IID_IBitmap;
    static constexpr GUID kImage = IID_IImage;
    auto noBitmap = CComPtr<CRefusingCloneImage>::Adopt(CRefusingCloneImage::Create(2, 2, &kBitmap));
    auto noImage = CComPtr<CRefusingCloneImage>::Adopt(CRefusingCloneImage::Create(2, 2, &kImage));
    for (IImage* input : {static_cast<IImage*>(noClone.Get()), static_cast<IImage*>(refusing.Get()),
                          static_cast<IImage*>(noBitmap.Get()), static_cast<IImage*>(noImage.Get())}) {
        const FailedApply failed = ApplyExpectingFailure(filter.Get(), input, CRecordingProgress::kNeverCancel);
        EXPECT_EQ(failed.code, 6);
        EXPECT_FALSE(failed.storedResult);
        EXPECT_TRUE(failed.events.empty());
    }
}

TEST(ExposureFilter, AppliesToTheGivenImageOverTheSourceAndWithoutASink)
{
    auto source = MakeImage(2, 2, [](int, int) { return 0xFF646464u; });  // level 100
    auto given = MakeImage(2, 2, [](int, int) { return 0xFF969696u; });   // level 150
    auto filter = ExposureFilter(static_cast<IImage*>(source.Get()), kStretch50To200);
    CComPtr<IImage> result;
    ASSERT_TRUE(filter->Apply(static_cast<IImage*>(given.Get()), result.Receive(), nullptr, nullptr));
    EXPECT_EQ(reinterpret_cast<const uint32_t*>(result->GetPixels())[3], 0xFFAAAAAAu);  // 170
}
