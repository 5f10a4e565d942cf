// The frame filter as a host drives it: choosing the type by name in any letter
// case, the failures of a missing or unknown name, a missing key, a refused copy and
// a stop, and what the progress sink hears.

#include "tests/frames/FrameTestSupport.h"

#include "tests/HostDoubles.h"

#include "Common/status/Status.h"

#include <gtest/gtest.h>

#include <string>

using namespace frames_test;

namespace {

WString SingleText(const char16_t* name)
{
    CParamList params;
    if (name != nullptr) params.Set(u"NameOfTheFrame", name);
    params.SetInt(u"SingleFrameThick", 100);
    params.SetInt(u"SingleFrameIntensity", 100);
    params.SetInt(u"SingleFrameCorner", 0);
    params.SetInt(u"SingleFrameColor", 0x0000FF);
    return params.ToString();
}

} // namespace

TEST(FrameFilter, TheTypeNameIsReadInAnyLetterCase)
{
    // Thickness 100 on 4 x 4: t = 2, every pixel painted red.
    const auto source = MakeImage(4, 4, Busy);
    const std::vector<uint32_t> red(16, Pixel(255, 0, 0));
    for (const char16_t* name : {u"SingleFrameName", u"singleframename", u"SINGLEFRAMENAME", u"sInGlEfRaMeNaMe"})
        EXPECT_EQ(Framed(source.Get(), SingleText(name)), red) << NarrowToUtf8(name);
}

TEST(FrameFilter, AMissingOrUnknownNameIsStatusSixAndAMissingKeyStatusEight)
{
    const auto source = MakeImage(6, 6, Busy);
    for (const char16_t* name : {static_cast<const char16_t*>(nullptr), u"TripleFrameName", u"SingleFrame", u""}) {
        const auto failed = ApplyExpectingFailure(FrameFilter(source.Get(), SingleText(name)).Get(), nullptr,
                                                  CRecordingProgress::kNeverCancel);
        EXPECT_EQ(failed.code, kStatusHostRefused) << (name ? NarrowToUtf8(name) : "no name");
        EXPECT_FALSE(failed.storedResult);
    }
    CParamList lacking(SingleText(u"SingleFrameName").c_str());
    for (const char16_t* key : {u"SingleFrameThick", u"SingleFrameIntensity", u"SingleFrameCorner",
                                u"SingleFrameColor"}) {
        CParamList without;
        for (int i = 0; i < lacking.Count(); ++i) {
            if (WString(lacking.KeyAt(i)) != key) without.Set(lacking.KeyAt(i), lacking.ValueAt(i));
        }
        const auto failed = ApplyExpectingFailure(FrameFilter(source.Get(), without.ToString()).Get(), nullptr,
                                                  CRecordingProgress::kNeverCancel);
        EXPECT_EQ(failed.code, kStatusCancelled) << NarrowToUtf8(key);
        EXPECT_EQ(ProgressCalls(failed.events), "SetText Framing the image...;Finish false;") << NarrowToUtf8(key);
    }
}

TEST(FrameFilter, ProgressStepsEveryRowAndAStopIsStatusEight)
{
    const auto source = MakeImage(5, 3, Busy);
    auto progress = CComPtr<CRecordingProgress>::Adopt(CRecordingProgress::Create());
    CComPtr<IImage> result;
    ASSERT_TRUE(FrameFilter(source.Get(), SingleText(u"SingleFrameName"))
                    ->Apply(nullptr, result.Receive(), progress.Get(), nullptr));
    EXPECT_EQ(ProgressCalls(progress->Events()), "SetText Framing the image...;Step 0/3;Step 1/3;Step 2/3;Finish true;");

    const auto stopped = ApplyExpectingFailure(FrameFilter(source.Get(), SingleText(u"SingleFrameName")).Get(),
                                               nullptr, 1);
    EXPECT_EQ(stopped.code, kStatusCancelled);
    EXPECT_FALSE(stopped.storedResult);
    EXPECT_EQ(ProgressCalls(stopped.events), "SetText Framing the image...;Step 0/3;Step 1/3;Finish false;");
}

TEST(FrameFilter, ARefusedCopyIsStatusEight)
{
    for (const auto& refusing : CloneRefusingSources(5, 5)) {
        const auto failed = ApplyExpectingFailure(FrameFilter(refusing.Get(), SingleText(u"SingleFrameName")).Get(),
                                                  nullptr, CRecordingProgress::kNeverCancel);
        EXPECT_EQ(failed.code, kStatusCancelled);
        EXPECT_FALSE(failed.storedResult);
    }
}
