// Invert as a host drives it: the three switches, the apply's calls and refusals,
// and the dialog's own way of storing. Expected pixels are worked out per channel
// as 255 - v; rows are section rows, row 0 the bottom.

#include "tests/FilterDialogTest.h"
#include "tests/HostDoubles.h"
#include "tests/KernelThreads.h"
#include "tests/TestSupport.h"

#include "Common/base/FilterFormat.h"
#include "Common/status/Status.h"
#include "filters/invert/InvertDialog.h"
#include "filters/invert/InvertFactory.h"
#include "filters/invert/InvertKernel.h"

#include <QCheckBox>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

uint32_t Opaque(int red, int green, int blue)
{
    return 0xFF000000u | static_cast<uint32_t>(red) << 16 | static_cast<uint32_t>(green) << 8 | static_cast<uint32_t>(blue);
}

// Levels 0 and 255 included, and a fourth byte that differs from pixel to pixel.
uint32_t BusyPixel(int x, int y)
{
    const auto red = static_cast<uint32_t>((37 * x + 11 * y) & 0xFF);
    const auto green = static_cast<uint32_t>((53 * x + 29 * y + 255) & 0xFF);
    const auto blue = static_cast<uint32_t>((17 * x + 71 * y + 128) & 0xFF);
    return static_cast<uint32_t>((3 * x + 5 * y + 1) & 0xFF) << 24 | red << 16 | green << 8 | blue;
}

// Each chosen channel written out as 255 - v, the others and the fourth byte kept.
uint32_t Inverted(uint32_t pixel, bool red, bool green, bool blue)
{
    const uint32_t fourth = pixel >> 24;
    uint32_t r = pixel >> 16 & 0xFF;
    uint32_t g = pixel >> 8 & 0xFF;
    uint32_t b = pixel & 0xFF;
    if (red) r = 255 - r;
    if (green) g = 255 - g;
    if (blue) b = 255 - b;
    return fourth << 24 | r << 16 | g << 8 | b;
}

CComPtr<IInteractiveFilter> InvertFilter(CHostImage* source, const char16_t* format)
{
    return CreateInteractiveFilter(FactoryOf<CInvertFactory>(), static_cast<IImage*>(source), format);
}

// The result of applying with format (null: the filter's text left empty).
CComPtr<IImage> Applied(CHostImage* source, const char16_t* format, IProgress* progress = nullptr)
{
    CComPtr<IImage> result;
    EXPECT_TRUE(InvertFilter(source, format)->Apply(nullptr, result.Receive(), progress, nullptr));
    return result;
}

// A clone whose bitmap has no pixel buffer.
class CBufferlessImage final : public CHostImage {
public:
    uint8_t* GetPixels() override { return nullptr; }
};

class CBufferlessCloneImage final : public CHostImage {
public:
    bool Clone(IUnknown** clone) override
    {
        auto* made = new CBufferlessImage();
        made->Allocate(Width(), Height(), 32, nullptr);
        *clone = static_cast<IImage*>(made);
        return true;
    }
};

} // namespace

// ---------------------------------------------------------------- pixels

TEST(Invert, EveryCombinationOfTheSwitchesWithMissingKeysAsZero)
{
    const auto source = MakeImage(7, 5, BusyPixel);
    const std::vector<uint32_t> before = PixelsOf(source.Get());
    for (int mask = 0; mask < 8; ++mask) {
        const bool red = (mask & 1) != 0;
        const bool green = (mask & 2) != 0;
        const bool blue = (mask & 4) != 0;
        std::vector<uint32_t> expected;
        for (const uint32_t pixel : before) expected.push_back(Inverted(pixel, red, green, blue));
        // Once with every key written, once with the switched-off keys left out.
        const WString written = WString(u"Channel_Red:") + (red ? u"1" : u"0") + u"\nChannel_Green:" +
                                (green ? u"1" : u"0") + u"\nChannel_Blue:" + (blue ? u"1" : u"0") + u"\n";
        WString onlyOn;
        if (red) onlyOn += u"Channel_Red:1\n";
        if (green) onlyOn += u"Channel_Green:1\n";
        if (blue) onlyOn += u"Channel_Blue:1\n";
        for (const WString& format : {written, onlyOn}) {
            SCOPED_TRACE(NarrowToUtf8(format.c_str()));
            EXPECT_EQ(PixelsOf(Applied(source.Get(), format.c_str()).Get()), expected);
        }
    }
    EXPECT_EQ(PixelsOf(source.Get()), before) << "the source is never changed";
}

TEST(Invert, HandWorkedPixels)
{
    const auto source = MakeImage(1, 1, [](int, int) { return Opaque(10, 20, 30); });
    const char16_t* const all = u"Channel_Red:1\nChannel_Green:1\nChannel_Blue:1\n";
    const CComPtr<IImage> once = Applied(source.Get(), all);
    EXPECT_EQ(PixelsOf(once.Get())[0], Opaque(245, 235, 225));
    EXPECT_EQ(PixelsOf(Applied(static_cast<CHostImage*>(once.Get()), all).Get())[0], Opaque(10, 20, 30))
        << "twice gives the picture back";
    EXPECT_EQ(PixelsOf(Applied(source.Get(), u"Channel_Red:1\n").Get())[0], Opaque(245, 20, 30));
    EXPECT_EQ(PixelsOf(Applied(source.Get(), u"Channel_Green:-3\n").Get())[0], Opaque(10, 235, 30))
        << "any number but 0 switches on";
    EXPECT_EQ(PixelsOf(Applied(source.Get(), u"Channel_Blue:7\nChannel_Red:0\n").Get())[0], Opaque(10, 20, 225));
    EXPECT_EQ(PixelsOf(Applied(source.Get(), u"").Get())[0], Opaque(10, 20, 30)) << "an empty text keeps the picture";
    EXPECT_EQ(PixelsOf(Applied(source.Get(), nullptr).Get())[0], Opaque(10, 20, 30));
}

TEST(Invert, TheInputArgumentReplacesTheFactorySource)
{
    const auto factorySource = MakeImage(2, 2, [](int, int) { return Opaque(0, 0, 0); });
    const auto input = MakeImage(3, 1, [](int x, int) { return Opaque(x, 100, 200); });
    CComPtr<IImage> result;
    ASSERT_TRUE(InvertFilter(factorySource.Get(), u"Channel_Red:1\nChannel_Green:1\nChannel_Blue:1\n")
                    ->Apply(static_cast<IImage*>(input.Get()), result.Receive(), nullptr, nullptr));
    EXPECT_EQ(PixelsOf(result.Get()),
              (std::vector<uint32_t>{Opaque(255, 155, 55), Opaque(254, 155, 55), Opaque(253, 155, 55)}));
}

TEST(InvertKernel, RowsThroughTheirStrideAndNothingBeyondTheWidthOnAnyThreadCount)
{
    for (const int threads : {1, 3}) {
        const ScopedKernelThreads kernelThreads(threads);
        // Two rows of three pixels in rows of four: the fourth pixel of each row is padding.
        std::vector<uint32_t> pixels{Opaque(1, 2, 3), Opaque(4, 5, 6), Opaque(7, 8, 9), 0x12345678u,
                                     Opaque(10, 11, 12), Opaque(13, 14, 15), Opaque(16, 17, 18), 0x9ABCDEF0u};
        InvertChannels(PixelRows{reinterpret_cast<uint8_t*>(pixels.data()), 16, 3, 2}, {true, false, true});
        EXPECT_EQ(pixels, (std::vector<uint32_t>{Opaque(254, 2, 252), Opaque(251, 5, 249), Opaque(248, 8, 246),
                                                 0x12345678u, Opaque(245, 11, 243), Opaque(242, 14, 240),
                                                 Opaque(239, 17, 237), 0x9ABCDEF0u}))
            << threads << " threads";
    }
}

// ---------------------------------------------------------------- the apply's calls

TEST(Invert, AnnouncesAndFinishesWithoutSteps)
{
    const auto source = MakeImage(4, 6, BusyPixel);
    const auto progress = CComPtr<CRecordingProgress>::Adopt(CRecordingProgress::Create(0));
    ASSERT_TRUE(Applied(source.Get(), u"Channel_Red:1\n", progress.Get()))
        << "a sink that would stop at the first step never gets asked";
    EXPECT_EQ(ProgressCalls(progress->Events()), "SetText Inverting;Finish true;");
}

TEST(Invert, RefusalsBeforeAnyProgressCall)
{
    std::vector<CComPtr<CHostImage>> sources = CloneRefusingSources(4, 4);
    // And a clone whose bitmap has no pixels to change.
    sources.push_back(CComPtr<CHostImage>::Adopt(new CBufferlessCloneImage()));
    sources.back()->Allocate(4, 4, 32, nullptr);
    for (const CComPtr<CHostImage>& source : sources) {
        const FailedApply failed = ApplyExpectingFailure(InvertFilter(source.Get(), u"Channel_Red:1\n").Get(), nullptr,
                                                         CRecordingProgress::kNeverCancel);
        EXPECT_EQ(failed.code, kStatusHostRefused);
        EXPECT_FALSE(failed.storedResult);
        EXPECT_TRUE(failed.events.empty()) << "no SetText, so no Finish either";
    }
}

// ---------------------------------------------------------------- the dialog

class InvertDialog : public FilterDialogTest {
protected:
    // Opens the dialog of a filter whose text is format (null: left empty); the
    // store it posts is not delivered yet.
    CInteractiveInvertDlg* Open(const char16_t* format)
    {
        MakeFilter(FactoryOf<CInvertFactory>(), MakeImage(8, 6, BusyPixel));
        if (format != nullptr) filter->SetFormat(format);
        return OpenDialogOf<CInteractiveInvertDlg>();
    }

    static std::vector<bool> Boxes(const CInteractiveInvertDlg* dialog)
    {
        return {dialog->RedBox()->isChecked(), dialog->GreenBox()->isChecked(), dialog->BlueBox()->isChecked()};
    }
};

TEST_F(InvertDialog, WithoutStoredSettingsItStoresAllThreeOnOpening)
{
    CInteractiveInvertDlg* dialog = Open(nullptr);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(Boxes(dialog), (std::vector<bool>{true, true, true}));
    EXPECT_EQ(dialog->RedBox()->text(), QStringLiteral("Red channel"));
    EXPECT_EQ(dialog->GreenBox()->text(), QStringLiteral("Green channel"));
    EXPECT_EQ(dialog->BlueBox()->text(), QStringLiteral("Blue channel"));
    EXPECT_EQ(site->ChangeCount(), 0) << "the store is posted, not run in the constructor";
    PumpPostedEvents();
    EXPECT_EQ(Text(), u"Channel_Red:1\nChannel_Green:1\nChannel_Blue:1\n");
    EXPECT_EQ(site->ChangeCount(), 1);
}

TEST_F(InvertDialog, KeysPresentOnOpeningSetTheirBoxesAndTheWholeTextIsReplaced)
{
    CInteractiveInvertDlg* dialog = Open(u"Other:5\nChannel_Green:0\nchannel_blue:2\n");
    EXPECT_EQ(Boxes(dialog), (std::vector<bool>{true, false, true})) << "red was missing and keeps its start";
    PumpPostedEvents();
    EXPECT_EQ(Text(), u"Channel_Red:1\nChannel_Green:0\nChannel_Blue:1\n");
}

TEST_F(InvertDialog, AClickStoresAtOnce)
{
    CInteractiveInvertDlg* dialog = Open(nullptr);
    PumpPostedEvents();
    dialog->RedBox()->click();
    EXPECT_EQ(Text(), u"Channel_Red:0\nChannel_Green:1\nChannel_Blue:1\n") << "without delivering posted events";
    EXPECT_EQ(site->ChangeCount(), 2);
    dialog->BlueBox()->click();
    EXPECT_EQ(Text(), u"Channel_Red:0\nChannel_Green:1\nChannel_Blue:0\n");
    EXPECT_EQ(site->ChangeCount(), 3);
    PumpPostedEvents();
    EXPECT_EQ(site->ChangeCount(), 3) << "nothing queued stores again";

    const std::vector<uint32_t> before = PixelsOf(source.Get());
    CComPtr<IImage> result;
    ASSERT_TRUE(filter->Apply(nullptr, result.Receive(), nullptr, nullptr));
    const std::vector<uint32_t> after = PixelsOf(result.Get());
    for (size_t i = 0; i < before.size(); ++i) ASSERT_EQ(after[i], Inverted(before[i], false, true, false)) << i;
}

TEST_F(InvertDialog, ATextSetWhileOpenIsNotShownNorOverwritten)
{
    CInteractiveInvertDlg* dialog = Open(nullptr);
    PumpPostedEvents();
    filter->SetFormat(u"Channel_Red:0\nChannel_Green:0\n");
    PumpPostedEvents();
    EXPECT_EQ(Boxes(dialog), (std::vector<bool>{true, true, true}));
    EXPECT_EQ(Text(), u"Channel_Red:0\nChannel_Green:0\n");
    EXPECT_EQ(site->ChangeCount(), 1);
}
