// The Sharpen filter as the host drives it: the page named in the parameter text
// picks the operation, each pass reports through the phases adapter, and the sheet
// keeps its keys through the store and reload messages.

#include "tests/HostDoubles.h"
#include "tests/sharpen/SharpenReference.h"
#include "tests/FilterDialogTest.h"

#include "Common/base/FilterFormat.h"
#include "Common/dialogs/FlexPropertySheet.h"
#include "Common/params/ParamList.h"
#include "filters/shared/gaussian/GaussianKernel.h"
#include "filters/shared/gaussian/SeparablePasses.h"
#include "filters/sharpen/SharpenDialog.h"
#include "filters/sharpen/SharpenFactory.h"
#include "filters/sharpen/SharpenGaussianBlurPage.h"
#include "filters/sharpen/SharpenUnsharpMaskPage.h"
#include "platform/DialogMessage.h"
#include "plugin/ModuleFactories.h"
#include "refhost/PreviewSite.h"
#include "refhost/RecordingProgress.h"

#include <QCoreApplication>
#include <QSlider>

#include <gtest/gtest.h>

#include <algorithm>

namespace {

constexpr int kWidth = 13;
constexpr int kHeight = 10;
constexpr const char16_t* kBlurFormat = u"SharpenActivePage:GaussianBlur\nGaussianBlurSize:1.5\n";
constexpr const char16_t* kUnsharpFormat =
    u"SharpenActivePage:UnsharpMask\nUnsharpMaskSize:1.2\nUnsharpMaskAmount:0.8\nUnsharpMaskThreshold:6\n";

using Call = CRecordingProgress::Call;

uint32_t NoisyPixel(int x, int y)
{
    return static_cast<uint32_t>((x * 7919 + y * 104729 + 17) * 2654435761u);
}

ReferencePicture PictureOf(IImage* image)
{
    const auto [width, height] = SizeOf(image);
    return {width, height, PixelsOf(image)};
}

std::vector<WString> TextsOf(const std::vector<CRecordingProgress::Event>& events)
{
    std::vector<WString> texts;
    for (const auto& event : events) {
        if (event.call == Call::SetText) texts.push_back(event.text);
    }
    return texts;
}

} // namespace

// Filters made in this process take the fixed-point path unless portable code is forced.
TEST(SharpenFilter, EachPageRunsItsPassesOnACopy)
{
    auto source = MakeImage(kWidth, kHeight, NoisyPixel);
    const ReferencePicture before = PictureOf(source.Get());
    const bool fixed = ChosenBlurPath() == BlurPath::FixedPoint;
    struct Case {
        const char16_t* format;
        ReferencePicture expected;
        std::vector<WString> passes;
        int units;
    };
    for (const Case& c : {Case{kBlurFormat, ReferenceBlur(before, BuildGaussianKernel(1.5), fixed),
                               {u"Horizontal blurring", u"Vertical blurring"}, kWidth + kHeight},
                          Case{kUnsharpFormat, ReferenceUnsharp(before, BuildGaussianKernel(1.2), 0.8, 6, fixed),
                               {u"Horizontal blurring", u"Vertical blurring", u"Merging"}, kWidth + 2 * kHeight}}) {
        auto filter = CreateInteractiveFilter(FactoryOf<CInteractiveSharpnessFactory>(), static_cast<IImage*>(source.Get()), c.format);
        auto progress = CComPtr<CRecordingProgress>::Adopt(CRecordingProgress::Create());
        CComPtr<IImage> result;
        ASSERT_TRUE(filter->Apply(nullptr, result.Receive(), progress.Get(), nullptr));
        EXPECT_EQ(PictureOf(result.Get()).pixels, c.expected.pixels);
        EXPECT_EQ(PictureOf(source.Get()).pixels, before.pixels);
        EXPECT_EQ(TextsOf(progress->Events()), c.passes);
        const auto& events = progress->Events();
        EXPECT_EQ(progress->CountOf(Call::Step), c.units);
        EXPECT_EQ(std::make_pair(events[events.size() - 2].done, events[events.size() - 2].total),
                  std::make_pair(c.units, c.units));
        EXPECT_TRUE(events.back().call == Call::Finish && events.back().success);
    }
}

TEST(SharpenFilter, RefusalsAndCancelsCarryTheirCodesAndLeaveTheSource)
{
    auto source = MakeImage(kWidth, kHeight, NoisyPixel);
    const ReferencePicture before = PictureOf(source.Get());
    IUnknown* image = static_cast<IImage*>(source.Get());
    auto noClone = CComPtr<CImageWithout>::Adopt(CImageWithout::Create(6, 6, IID_ICloneable));
    auto refusing = CComPtr<CRefusingCloneImage>::Adopt(CRefusingCloneImage::Create(6, 6, nullptr));
    constexpr int kNever = CRecordingProgress::kNeverCancel;
    struct Case {
        const char* label;
        IUnknown* source;
        const char16_t* format;
        int cancelAt;  // counted over all passes' Steps, from 0
        int code;
        const char16_t* lastText;  // null: no progress call at all
    };
    for (const Case& c : {
             Case{"no page", image, u"GaussianBlurSize:1\n", kNever, 6, nullptr},
             Case{"page in another case", image, u"SharpenActivePage:gaussianblur\nGaussianBlurSize:1\n", kNever, 6,
                  nullptr},
             Case{"blur without its size", image, u"SharpenActivePage:GaussianBlur\n", kNever, 6, nullptr},
             Case{"mask without its threshold", image,
                  u"SharpenActivePage:UnsharpMask\nUnsharpMaskSize:1\nUnsharpMaskAmount:1\n", kNever, 6, nullptr},
             Case{"malformed text", image, u"SharpenActivePage:GaussianBlur\nGaussianBlurSize:1\nbroken\n", kNever, 6,
                  nullptr},
             Case{"no ICloneable", static_cast<IImage*>(noClone.Get()), kBlurFormat, kNever, 6, nullptr},
             Case{"Clone refused", static_cast<IImage*>(refusing.Get()), kUnsharpFormat, kNever, 6, nullptr},
             Case{"blur, first pass", image, kBlurFormat, 3, 8, u"Horizontal blurring"},
             Case{"blur, second pass", image, kBlurFormat, kHeight + 2, 8, u"Vertical blurring"},
             Case{"mask, first pass", image, kUnsharpFormat, 0, 8, u"Horizontal blurring"},
             Case{"mask, second pass", image, kUnsharpFormat, kHeight + kWidth - 1, 8, u"Vertical blurring"},
             Case{"mask, merge", image, kUnsharpFormat, kHeight + kWidth + 4, 8, u"Merging"},
         }) {
        auto filter = CreateInteractiveFilter(FactoryOf<CInteractiveSharpnessFactory>(), c.source, c.format);
        const FailedApply failed = ApplyExpectingFailure(filter.Get(), nullptr, c.cancelAt);
        EXPECT_FALSE(failed.storedResult) << c.label;
        EXPECT_EQ(failed.code, c.code) << c.label;
        EXPECT_EQ(PictureOf(source.Get()).pixels, before.pixels) << c.label;
        if (c.lastText == nullptr) {
            EXPECT_TRUE(failed.events.empty()) << c.label;
            continue;
        }
        EXPECT_EQ(TextsOf(failed.events).back(), c.lastText) << c.label;
        const auto steps = std::count_if(failed.events.begin(), failed.events.end(),
                                         [](const auto& event) { return event.call == Call::Step; });
        EXPECT_EQ(steps, c.cancelAt + 1) << c.label << ": stopped at once";
        EXPECT_TRUE(failed.events.back().call == Call::Finish && !failed.events.back().success);
    }
}

namespace {
class SharpenDialog : public FilterDialogTest {};
} // namespace

TEST_F(SharpenDialog, ThePageShownStoresItsKeysAndTheReloadPicksThePage)
{
    MakeFilter(FactoryOf<CInteractiveSharpnessFactory>(), MakeImage(8, 8, NoisyPixel));
    auto* sheet = OpenDialogOf<CSharpenSheet>();
    const auto format = [&] { return NarrowToUtf8(Text()); };
    PumpPostedEvents();
    // Start values 2.5, 0.5 and 8 sit at positions 25, 50 and 8, which map back to these.
    EXPECT_EQ(format(), "UnsharpMaskSize:2.507500\nUnsharpMaskAmount:0.500000\nUnsharpMaskThreshold:8\n"
                        "SharpenActivePage:UnsharpMask\n");
    EXPECT_EQ(site->ChangeCount(), 1);
    EXPECT_EQ(sheet->Sheet()->Page(1)->Title(), QStringLiteral("Gaussian Blur"));
    const CSharpenUnsharpMaskPage* mask = sheet->UnsharpMaskPage();
    for (const QSlider* slider : {mask->SizeSlider(), mask->AmountSlider(), mask->ThresholdSlider(),
                                  sheet->GaussianBlurPage()->SizeSlider()}) {
        EXPECT_EQ(slider->minimum(), 0);
        EXPECT_EQ(slider->maximum(), 100);
        EXPECT_EQ(slider->tickInterval(), 10) << "a tick every 10 positions";
    }
    EXPECT_EQ(sheet->GaussianBlurPage()->SizeSlider()->value(), 20) << "sigma 2 is (2 - 0.01) / 9.99 of the way";

    sheet->Sheet()->SetActivePage(CSharpenSheet::kGaussianBlurIndex);
    PumpPostedEvents();
    EXPECT_EQ(format(), "UnsharpMaskSize:2.507500\nUnsharpMaskAmount:0.500000\nUnsharpMaskThreshold:8\n"
                        "SharpenActivePage:GaussianBlur\nGaussianBlurSize:2.008000\n");

    sheet->Sheet()->SetActivePage(CSharpenSheet::kUnsharpMaskIndex);
    sheet->UnsharpMaskPage()->ThresholdSlider()->setValue(29);  // 100 * 0.29 would truncate to 28
    PumpPostedEvents();
    EXPECT_NE(format().find("UnsharpMaskThreshold:29\nSharpenActivePage:UnsharpMask"), std::string::npos);
    EXPECT_EQ(site->ChangeCount(), 4);

    filter->SetFormat(u"SharpenActivePage:GaussianBlur\nGaussianBlurSize:5\n");
    PumpPostedEvents();
    EXPECT_EQ(sheet->Sheet()->ActivePage(), CSharpenSheet::kGaussianBlurIndex);
    EXPECT_EQ(sheet->GaussianBlurPage()->SizeSlider()->value(), 50);
    EXPECT_EQ(format(), "SharpenActivePage:GaussianBlur\nGaussianBlurSize:5.005000\n") << "stored again on showing";

    // Only the exact name shows the blur page; the mask page moves only for all three keys.
    filter->SetFormat(u"SharpenActivePage:gaussianblur\nUnsharpMaskSize:7.5\nUnsharpMaskAmount:0.3\n");
    PumpPostedEvents();
    EXPECT_EQ(sheet->Sheet()->ActivePage(), CSharpenSheet::kUnsharpMaskIndex);
    EXPECT_EQ(sheet->UnsharpMaskPage()->SizeSlider()->value(), 25);
    filter->SetFormat(u"UnsharpMaskSize:7.5\nUnsharpMaskAmount:0.3\nUnsharpMaskThreshold:41.6\n");
    PumpPostedEvents();
    const CSharpenUnsharpMaskPage* page = sheet->UnsharpMaskPage();
    EXPECT_EQ(page->SizeSlider()->value(), 75);
    EXPECT_EQ(page->AmountSlider()->value(), 30);
    EXPECT_EQ(page->ThresholdSlider()->value(), 42);
}
