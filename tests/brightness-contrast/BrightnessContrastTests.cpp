// Brightness and contrast: the transfer table from its rule, the shared channel
// mapper in every variant, and the filter's apply contract.

#include "tests/HostDoubles.h"
#include "tests/TestSupport.h"

#include "filters/brightness-contrast/BrightnessContrastFactory.h"
#include "filters/brightness-contrast/BrightnessContrastKernel.h"
#include "plugin/ModuleFactories.h"
#include "refhost/RecordingProgress.h"


#include <gtest/gtest.h>

#include <array>

namespace {

using Call = CRecordingProgress::Call;


std::array<uint8_t, 256> Table(double brightness, double contrast)
{
    std::array<uint8_t, 256> table{};
    BuildBrightnessContrastTable(brightness, contrast, table.data());
    return table;
}

// Each colour byte of a pixel mapped by table, the fourth byte kept.
uint32_t Mapped(uint32_t pixel, const std::array<uint8_t, 256>& table)
{
    return (pixel & 0xFF000000u) | (uint32_t{table[(pixel >> 16) & 0xFF]} << 16) |
           (uint32_t{table[(pixel >> 8) & 0xFF]} << 8) | table[pixel & 0xFF];
}

} // namespace

TEST(BrightnessContrastTable, DefaultsGiveTheIdentity)
{
    const auto table = Table(0.0, 1.0);
    for (int i = 0; i < 256; ++i) EXPECT_EQ(table[static_cast<size_t>(i)], i);
}

TEST(BrightnessContrastTable, WorkedLevels)
{
    // Contrast 0 flattens every level onto 128 plus the brightness.
    for (uint8_t level : Table(0.0, 0.0)) EXPECT_EQ(level, 128);
    for (uint8_t level : Table(27.9, 0.0)) EXPECT_EQ(level, 155);
    for (uint8_t level : Table(-200.0, 0.0)) EXPECT_EQ(level, 0);

    const auto steep = Table(0.0, 2.0);
    EXPECT_EQ(steep[0], 0);      // -128 clamps to 0
    EXPECT_EQ(steep[63], 0);     // -2 clamps
    EXPECT_EQ(steep[64], 0);     // 0.0 exactly
    EXPECT_EQ(steep[65], 2);
    EXPECT_EQ(steep[127], 126);
    EXPECT_EQ(steep[128], 128);
    EXPECT_EQ(steep[191], 254);
    EXPECT_EQ(steep[192], 255);  // 256 and above clamp
    EXPECT_EQ(steep[255], 255);

    const auto darker = Table(-100.0, 1.0);
    for (int i = 0; i <= 100; ++i) EXPECT_EQ(darker[static_cast<size_t>(i)], 0) << i;
    EXPECT_EQ(darker[101], 1);
    EXPECT_EQ(darker[255], 155);
}

TEST(BrightnessContrastTable, TruncatesAndOnlyReaches255AtExactly255)
{
    EXPECT_EQ(Table(-0.01, 1.0)[128], 127);  // 127.99
    EXPECT_EQ(Table(0.99, 1.0)[254], 254);   // 254.99
    EXPECT_EQ(Table(1.0, 1.0)[254], 255);    // 255.0
    EXPECT_EQ(Table(0.5, 1.0)[0], 0);        // 0.5 truncates to 0
}

TEST(BrightnessContrastFilter, MapsTheCopyThroughTheTable)
{
    auto source = MakeImage(7, 3, DistinctPixel);
    auto filter = CreateInteractiveFilter(FactoryOf<CInteractiveBrightnessContrastFactory>(), static_cast<IImage*>(source.Get()),
                                                       u"BrightnessValue:-12.5\nContrastValue:1.75\n");
    auto progress = CComPtr<CRecordingProgress>::Adopt(CRecordingProgress::Create());
    CComPtr<IImage> result;
    ASSERT_TRUE(filter->Apply(nullptr, result.Receive(), progress.Get(), nullptr));
    const auto table = Table(-12.5, 1.75);
    const auto* pixels = reinterpret_cast<const uint32_t*>(result->GetPixels());
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 7; ++x) {
            EXPECT_EQ(pixels[y * 7 + x], Mapped(DistinctPixel(x, y), table));
            EXPECT_EQ(source->Row(y)[x], DistinctPixel(x, y)) << "source untouched";
        }
    }
    ASSERT_FALSE(progress->Events().empty());
    EXPECT_EQ(progress->Events().front().text, u"Adjusting brightness/contrast");
    EXPECT_EQ(progress->CountOf(Call::Step), 3);
    EXPECT_TRUE(progress->Events().back().success);
}

TEST(BrightnessContrastFilter, RefusesWithoutBothKeys)
{
    auto source = MakeImage(2, 2, DistinctPixel);
    for (const char16_t* format : {u"", u"BrightnessValue:10\n", u"ContrastValue:1\n"}) {
        auto filter = CreateInteractiveFilter(FactoryOf<CInteractiveBrightnessContrastFactory>(), static_cast<IImage*>(source.Get()), format);
        const FailedApply failed = ApplyExpectingFailure(filter.Get(), nullptr, CRecordingProgress::kNeverCancel);
        EXPECT_FALSE(failed.storedResult);
        EXPECT_EQ(failed.code, 6);
        EXPECT_TRUE(failed.events.empty());
    }
}

TEST(BrightnessContrastFilter, FailurePaths)
{
    const char16_t* format = u"BrightnessValue:10\nContrastValue:1\n";
    auto source = MakeImage(3, 4, DistinctPixel);
    auto filter = CreateInteractiveFilter(FactoryOf<CInteractiveBrightnessContrastFactory>(), static_cast<IImage*>(source.Get()), format);
    CComPtr<IStatus> status;
    auto cancelling = CComPtr<CRecordingProgress>::Adopt(CRecordingProgress::Create(1));
    CComPtr<IImage> result;
    EXPECT_FALSE(filter->Apply(nullptr, result.Receive(), cancelling.Get(), status.Receive()));
    EXPECT_EQ(status->GetCode(), 8);
    EXPECT_FALSE(result);
    EXPECT_FALSE(cancelling->Events().back().success);
    EXPECT_EQ(source->Row(0)[0], DistinctPixel(0, 0));

    auto noClone = CComPtr<CImageWithout>::Adopt(CImageWithout::Create(2, 2, IID_ICloneable));
    EXPECT_FALSE(filter->Apply(static_cast<IImage*>(noClone.Get()), result.Receive(), nullptr, status.Receive()));
    EXPECT_EQ(status->GetCode(), 6);
    static constexpr GUID kBitmap = IID_IBitmap;
    auto noBitmap = CComPtr<CRefusingCloneImage>::Adopt(CRefusingCloneImage::Create(2, 2, &kBitmap));
    EXPECT_FALSE(filter->Apply(static_cast<IImage*>(noBitmap.Get()), result.Receive(), nullptr, status.Receive()));
    EXPECT_EQ(status->GetCode(), 6);
}
