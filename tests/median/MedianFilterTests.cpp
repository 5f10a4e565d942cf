// The Median filter as the host drives it: Apply's contract on a copy of the source,
// and the dialog's one key through the store and reload messages.

#include "tests/HostDoubles.h"
#include "tests/median/MedianReference.h"
#include "tests/FilterDialogTest.h"

#include "Common/base/FilterFormat.h"
#include "filters/median/MedianDialog.h"
#include "filters/median/MedianFactory.h"
#include "platform/DialogMessage.h"
#include "plugin/ModuleFactories.h"
#include "refhost/PreviewSite.h"
#include "refhost/RecordingProgress.h"

#include <QCoreApplication>
#include <QSlider>

#include <gtest/gtest.h>

namespace {

uint32_t NoisyPixel(int x, int y)
{
    return static_cast<uint32_t>((x * 7919 + y * 104729) * 2654435761u);
}

class MedianDialog : public FilterDialogTest {};

} // namespace

TEST(MedianFilter, FiltersACopyAndReportsThroughTheSink)
{
    auto source = MakeImage(16, 12, NoisyPixel);
    const std::vector<uint32_t> before = PixelsOf(source.Get());
    auto filter = CreateInteractiveFilter(FactoryOf<CInteractiveMedianFactory>(), static_cast<IImage*>(source.Get()), u"MedianSize:2\n");
    auto progress = CComPtr<CRecordingProgress>::Adopt(CRecordingProgress::Create());
    CComPtr<IImage> result;
    ASSERT_TRUE(filter->Apply(nullptr, result.Receive(), progress.Get(), nullptr));

    EXPECT_EQ(PixelsOf(result.Get()), ReferenceMedian(before, 16, 12, 2));
    EXPECT_EQ(PixelsOf(source.Get()), before) << "the source is never changed";
    const auto& events = progress->Events();
    EXPECT_EQ(events.front().text, u"Applying median filter");
    EXPECT_EQ(progress->CountOf(CRecordingProgress::Call::Step), 2 * 12 - 4);
    EXPECT_TRUE(events.back().call == CRecordingProgress::Call::Finish && events.back().success);
}

TEST(MedianFilter, RefusalsAndCancelsCarryTheirCodesAndLeaveTheSource)
{
    auto source = MakeImage(9, 9, NoisyPixel);
    const std::vector<uint32_t> before = PixelsOf(source.Get());
    IUnknown* image = static_cast<IImage*>(source.Get());
    auto noClone = CComPtr<CImageWithout>::Adopt(CImageWithout::Create(9, 9, IID_ICloneable));
    auto refusing = CComPtr<CRefusingCloneImage>::Adopt(CRefusingCloneImage::Create(9, 9, &IID_IBitmap));
    constexpr int kNever = CRecordingProgress::kNeverCancel;
    struct Case {
        const char* label;
        IUnknown* source;
        const char16_t* format;
        int cancelAt;
        int code;
        int progressCalls;  // SetText, Steps and Finish
    };
    for (const Case& c : {
             Case{"no ICloneable", static_cast<IImage*>(noClone.Get()), u"MedianSize:1\n", kNever, 6, 0},
             Case{"clone without IBitmap", static_cast<IImage*>(refusing.Get()), u"MedianSize:1\n", kNever, 6, 0},
             Case{"no MedianSize, though the dialog would show 1", image, u"Other:1\n", kNever, 6, 1},
             Case{"picture not wider than the window", image, u"MedianSize:4\n", kNever, 8, 2},
             Case{"cancel while keying", image, u"MedianSize:1\n", 2, 8, 5},
             Case{"cancel in the median pass", image, u"MedianSize:1\n", 12, 8, 15},
         }) {
        auto filter = CreateInteractiveFilter(FactoryOf<CInteractiveMedianFactory>(), c.source, c.format);
        const FailedApply failed = ApplyExpectingFailure(filter.Get(), nullptr, c.cancelAt);
        EXPECT_FALSE(failed.storedResult) << c.label;
        EXPECT_EQ(failed.code, c.code) << c.label;
        EXPECT_EQ(static_cast<int>(failed.events.size()), c.progressCalls) << c.label;
        EXPECT_TRUE(c.code != 8 || !failed.events.back().success) << c.label;
        EXPECT_EQ(PixelsOf(source.Get()), before) << c.label;
    }
}

TEST_F(MedianDialog, StoresTheEndOfAMovementAndReloadsClamped)
{
    MakeFilter(FactoryOf<CInteractiveMedianFactory>(), MakeImage(8, 8, NoisyPixel));
    auto* dialog = OpenDialogOf<CInteractiveMedianDlg>();
    PumpPostedEvents();
    EXPECT_EQ(Text(), u"MedianSize:1\n") << "opens at 1 and stores it";
    EXPECT_EQ(site->ChangeCount(), 1);

    QSlider* slider = dialog->SizeSlider();
    EXPECT_EQ(slider->minimum(), 1);
    EXPECT_EQ(slider->maximum(), 4);
    slider->setSliderDown(true);
    slider->setValue(2);
    slider->setValue(3);
    PumpPostedEvents();
    EXPECT_EQ(site->ChangeCount(), 1) << "positions passed while dragging are ignored";
    slider->setSliderDown(false);
    PumpPostedEvents();
    EXPECT_EQ(Text(), u"MedianSize:3\n");
    slider->setValue(4);  // a keyboard step: no drag
    PumpPostedEvents();
    EXPECT_EQ(Text(), u"MedianSize:4\n");
    EXPECT_EQ(site->ChangeCount(), 3);

    const std::pair<const char16_t*, int> reloads[] = {
        {u"MedianSize:2\n", 2}, {u"MedianSize:9\n", 4}, {u"Other:2\n", 4}, {u"MEDIANSIZE:-5\n", 1}};
    for (const auto& [format, position] : reloads) {
        filter->SetFormat(format);
        PumpPostedEvents();
        EXPECT_EQ(slider->value(), position) << NarrowToUtf8(format);
    }
    EXPECT_EQ(site->ChangeCount(), 3) << "a reload stores nothing";
}
