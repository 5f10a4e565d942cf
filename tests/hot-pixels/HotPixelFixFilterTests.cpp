// The Hot Pixel Fixer as the host drives it: Apply's contract on a copy, its two
// progress phases behind one adapter, the status of each refusal, and the dialog's
// one trackbar through the store and reload messages.

#include "tests/FilterDialogTest.h"
#include "tests/HostDoubles.h"
#include "tests/TestSupport.h"

#include "Common/base/FilterFormat.h"
#include "filters/hot-pixels/HotPixelFixDialog.h"
#include "filters/hot-pixels/HotPixelFixFactory.h"
#include "filters/hot-pixels/HotPixelFixFilter.h"
#include "plugin/SettingsInterfaces.h"

#include <QLabel>
#include <QSlider>

#include <gtest/gtest.h>

namespace {

using Call = CRecordingProgress::Call;
constexpr uint32_t kGrey = 0x00808080u;
constexpr uint32_t kWhite = 0x00FFFFFFu;
constexpr int kNever = CRecordingProgress::kNeverCancel;

// Mid-grey with one white pixel at (9, 7).
CComPtr<CHostImage> GreyWithAHotPixel(int width = 20, int height = 16)
{
    return MakeImage(width, height, [](int x, int y) { return x == 9 && y == 7 ? kWhite : kGrey; });
}

CComPtr<IInteractiveFilter> HotPixelFilter(IUnknown* source, const char16_t* format = u"HotPixelFixerIntensity:60\n")
{
    return CreateInteractiveFilter(FactoryOf<CInteractiveHotPixelFixFactory>(), source, format);
}

IUnknown* AsUnknown(CHostImage* image)
{
    return static_cast<IImage*>(image);
}

} // namespace

// ---------------------------------------------------------------- apply

TEST(HotPixelFixFilter, RepairsACopyInTwoPhasesOfTheSink)
{
    auto source = GreyWithAHotPixel();
    const std::vector<uint32_t> before = PixelsOf(source.Get());
    auto progress = CComPtr<CRecordingProgress>::Adopt(CRecordingProgress::Create());
    CComPtr<IImage> result;
    ASSERT_TRUE(HotPixelFilter(AsUnknown(source.Get()))->Apply(nullptr, result.Receive(), progress.Get(), nullptr));

    EXPECT_EQ(PixelsOf(static_cast<CHostImage*>(result.Get())), std::vector<uint32_t>(20 * 16, kGrey));
    EXPECT_EQ(PixelsOf(source.Get()), before) << "the source is never changed";

    // One text; every step in thousandths of two passes, the noise reduction's in the
    // first thousand; the adapter keeps every Finish to itself.
    const auto& events = progress->Events();
    ASSERT_FALSE(events.empty());
    EXPECT_EQ(events.front().call, Call::SetText);
    EXPECT_EQ(events.front().text, u"Fixing hot pixels");
    EXPECT_EQ(progress->CountOf(Call::SetText), 1);
    EXPECT_EQ(progress->CountOf(Call::Finish), 0);
    int last = 0;
    bool reachedSecondPass = false;
    for (size_t i = 1; i < events.size(); ++i) {
        EXPECT_EQ(events[i].total, 2000);
        EXPECT_GE(events[i].done, last) << i;
        last = events[i].done;
        reachedSecondPass = reachedSecondPass || events[i].done > 1000;
    }
    EXPECT_TRUE(reachedSecondPass);
    EXPECT_EQ(events.back().done, 2000);
    // Without a sink the same pixels come out.
    CComPtr<IImage> quiet;
    ASSERT_TRUE(HotPixelFilter(AsUnknown(source.Get()))->Apply(nullptr, quiet.Receive(), nullptr, nullptr));
    EXPECT_EQ(PixelsOf(static_cast<CHostImage*>(quiet.Get())), PixelsOf(static_cast<CHostImage*>(result.Get())));
}

TEST(HotPixelFixFilter, TheIntensityDecidesAndAGivenInputWinsOverTheSource)
{
    // Mean 170 over grey 128: hot above 42, not at 60.
    auto dim = MakeImage(20, 16, [](int x, int y) { return x == 9 && y == 7 ? 0x00AAAAAAu : kGrey; });
    const std::vector<uint32_t> dimPixels = PixelsOf(dim.Get());
    auto other = GreyWithAHotPixel();
    for (const auto& [format, repaired] : {std::pair{u"HotPixelFixerIntensity:41\n", true},
                                           std::pair{u"HotPixelFixerIntensity:42\n", false},
                                           std::pair{u"hotpixelfixerintensity:10\n", true}}) {
        CComPtr<IImage> result;
        ASSERT_TRUE(HotPixelFilter(AsUnknown(other.Get()), format)
                        ->Apply(AsUnknown(dim.Get()), result.Receive(), nullptr, nullptr));
        const std::vector<uint32_t> out = PixelsOf(static_cast<CHostImage*>(result.Get()));
        EXPECT_EQ(out, repaired ? std::vector<uint32_t>(20 * 16, kGrey) : dimPixels) << NarrowToUtf8(format);
    }
}

TEST(HotPixelFixFilter, RefusalsAndStopsCarryTheirCodes)
{
    auto source = GreyWithAHotPixel();
    const std::vector<uint32_t> before = PixelsOf(source.Get());
    IUnknown* image = AsUnknown(source.Get());
    // Each refused with status 6 before any progress call.
    struct Case {
        const char* label;
        IUnknown* source;
        const char16_t* format;
    };
    std::vector<CComPtr<CHostImage>> refusing = CloneRefusingSources(20, 16);
    for (const Case& c : {
             Case{"no intensity, though the dialog would show 60", image, u"Other:1\n"},
             Case{"an empty text", image, u""},
             Case{"no ICloneable", AsUnknown(refusing[0].Get()), u"HotPixelFixerIntensity:60\n"},
             Case{"Clone refused", AsUnknown(refusing[1].Get()), u"HotPixelFixerIntensity:60\n"},
             Case{"a clone without IImage", AsUnknown(refusing[2].Get()), u"HotPixelFixerIntensity:60\n"},
         }) {
        auto filter = HotPixelFilter(c.source, c.format);
        const FailedApply failed = ApplyExpectingFailure(filter.Get(), nullptr, kNever);
        EXPECT_EQ(failed.code, 6) << c.label;
        EXPECT_FALSE(failed.storedResult) << c.label;
        EXPECT_TRUE(failed.events.empty()) << c.label;
    }
    const auto sourceless = CComPtr<IInteractiveFilter>::Adopt(new CInteractiveHotPixelFix(nullptr, nullptr));
    const FailedApply noSource = ApplyExpectingFailure(sourceless.Get(), nullptr, kNever);
    EXPECT_EQ(noSource.code, 5);
    EXPECT_TRUE(noSource.events.empty());

    CComPtr<IImage> result;
    EXPECT_TRUE(HotPixelFilter(AsUnknown(refusing[3].Get()))->Apply(nullptr, result.Receive(), nullptr, nullptr))
        << "the work reaches the copy through its section: a copy without IBitmap will do";
    EXPECT_EQ(PixelsOf(source.Get()), before);
}

TEST(HotPixelFixFilter, AStopInEitherPhaseIsStatusEightWithoutAResult)
{
    auto source = GreyWithAHotPixel();
    const std::vector<uint32_t> before = PixelsOf(source.Get());
    auto recorded = CComPtr<CRecordingProgress>::Adopt(CRecordingProgress::Create());
    CComPtr<IImage> result;
    ASSERT_TRUE(HotPixelFilter(AsUnknown(source.Get()))->Apply(nullptr, result.Receive(), recorded.Get(), nullptr));
    const auto& events = recorded->Events();
    int firstRepairStep = 0;
    while (events[static_cast<size_t>(firstRepairStep) + 1].done <= 1000) ++firstRepairStep;
    ASSERT_GT(firstRepairStep, 0);

    for (const int stopAt : {0, firstRepairStep, recorded->CountOf(Call::Step) - 1}) {
        const FailedApply failed = ApplyExpectingFailure(HotPixelFilter(AsUnknown(source.Get())).Get(), nullptr, stopAt);
        EXPECT_EQ(failed.code, 8) << stopAt;
        EXPECT_FALSE(failed.storedResult) << stopAt;
        EXPECT_EQ(static_cast<int>(failed.events.size()), stopAt + 2) << "the text, then steps up to the stop";
        for (const auto& event : failed.events) EXPECT_NE(event.call, Call::Finish) << stopAt;
        EXPECT_EQ(PixelsOf(source.Get()), before);
    }
}

// Two rows leave the second phase nothing to announce: the phases adapter reads a
// total below 1 as a stop. Without a sink nobody stops it.
TEST(HotPixelFixFilter, PicturesOfOneOrTwoRowsStopThePhasesButPassWithoutASink)
{
    for (const int height : {1, 2, 3}) {
        auto source = MakeImage(7, height, [](int x, int) { return x == 3 ? kWhite : kGrey; });
        auto progress = CComPtr<CRecordingProgress>::Adopt(CRecordingProgress::Create());
        CComPtr<IImage> watched;
        EXPECT_EQ(HotPixelFilter(AsUnknown(source.Get()))->Apply(nullptr, watched.Receive(), progress.Get(), nullptr),
                  height == 3)
            << height;
        CComPtr<IImage> result;
        ASSERT_TRUE(HotPixelFilter(AsUnknown(source.Get()))->Apply(nullptr, result.Receive(), nullptr, nullptr));
        EXPECT_EQ(PixelsOf(static_cast<CHostImage*>(result.Get())), PixelsOf(source.Get()))
            << "no pixel is two inside the edges";
    }
}

// ---------------------------------------------------------------- dialog

namespace {

class HotPixelFixDialog : public FilterDialogTest {
protected:
    CDlgInteractiveHotPixelFix* Open()
    {
        MakeFilter(FactoryOf<CInteractiveHotPixelFixFactory>(), GreyWithAHotPixel());
        return OpenDialogOf<CDlgInteractiveHotPixelFix>();
    }
};

} // namespace

TEST_F(HotPixelFixDialog, OpensAtTheDeclaredStartAndStoresItAtOnce)
{
    CDlgInteractiveHotPixelFix* dialog = Open();
    QSlider* slider = dialog->IntensitySlider();
    EXPECT_EQ(Text(), u"") << "the first store is posted, not sent";
    PumpPostedEvents();
    EXPECT_EQ(Text(), u"HotPixelFixerIntensity:60\n");
    EXPECT_EQ(site->ChangeCount(), 1);

    auto settings = CComPtr<IFilterSettings>::Query(
        static_cast<IFilterFactory*>(&FactoryOf<CInteractiveHotPixelFixFactory>()), IID_IFilterSettings);
    ASSERT_TRUE(settings);
    ASSERT_EQ(settings->GetSettingCount(), 1);
    const SettingDeclaration& declared = *settings->GetSetting(0);
    EXPECT_EQ(WString(declared.key), u"HotPixelFixerIntensity");
    EXPECT_EQ(declared.type, SettingType::Integer);
    EXPECT_EQ(slider->minimum(), declared.minimum);
    EXPECT_EQ(slider->maximum(), declared.maximum);
    EXPECT_EQ(slider->value(), declared.start);
    EXPECT_EQ(slider->minimum(), 10);
    EXPECT_EQ(slider->maximum(), 200);

    const auto labels = dialog->findChildren<QLabel*>();
    ASSERT_EQ(labels.size(), 2);
    EXPECT_EQ(labels[0]->text(), QStringLiteral("Intensity:"));
    EXPECT_TRUE(labels[1]->text().startsWith(QStringLiteral("Hint: Some digital cameras store hot pixels")));
    EXPECT_TRUE(labels[1]->text().endsWith(QStringLiteral("pure red, green, blue, or white colors.")));
}

TEST_F(HotPixelFixDialog, EveryMoveStoresEvenWhileDragging)
{
    CDlgInteractiveHotPixelFix* dialog = Open();
    PumpPostedEvents();
    QSlider* slider = dialog->IntensitySlider();
    slider->setSliderDown(true);
    slider->setValue(75);
    PumpPostedEvents();
    EXPECT_EQ(Text(), u"HotPixelFixerIntensity:75\n") << "a position passed while dragging";
    slider->setValue(90);
    PumpPostedEvents();
    slider->setSliderDown(false);
    PumpPostedEvents();
    EXPECT_EQ(Text(), u"HotPixelFixerIntensity:90\n");
    EXPECT_EQ(site->ChangeCount(), 3);

    // The apply reads what the dialog stored: at 90 white over grey 128 is still hot.
    CComPtr<IImage> result;
    ASSERT_TRUE(filter->Apply(nullptr, result.Receive(), nullptr, nullptr));
    EXPECT_EQ(PixelsOf(static_cast<CHostImage*>(result.Get())), std::vector<uint32_t>(20 * 16, kGrey));
}

TEST_F(HotPixelFixDialog, ReloadsTheIntensityAndKeepsItWhereTheKeyIsMissing)
{
    CDlgInteractiveHotPixelFix* dialog = Open();
    PumpPostedEvents();
    QSlider* slider = dialog->IntensitySlider();
    const std::pair<const char16_t*, int> reloads[] = {{u"HotPixelFixerIntensity:120\n", 120},
                                                       {u"Other:3\n", 120},
                                                       {u"HOTPIXELFIXERINTENSITY:15\n", 15},
                                                       {u"HotPixelFixerIntensity:500\n", 200},
                                                       {u"HotPixelFixerIntensity:-4\n", 10}};
    for (const auto& [format, position] : reloads) {
        filter->SetFormat(format);
        PumpPostedEvents();
        EXPECT_EQ(slider->value(), position) << NarrowToUtf8(format);
    }
    EXPECT_EQ(site->ChangeCount(), 1) << "a reload stores nothing";
}
