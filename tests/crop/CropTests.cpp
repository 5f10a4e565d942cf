// Crop as a host drives it: the preview's selection read into the filter, the
// host's crop asked with it, the sink told how it ended, and the dialog's proposal
// and marked thumbnail. Pictures are compared as a person sees them, y from the top.

#include "tests/FilterDialogTest.h"
#include "tests/HostDoubles.h"
#include "tests/TestSupport.h"

#include "Common/dialogs/ImageStatic.h"
#include "filters/crop/CropDialog.h"
#include "filters/crop/CropFactory.h"
#include "filters/crop/CropFilter.h"
#include "filters/shared/selection/SelectionMarkKernel.h"
#include "refhost/PluginHost.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

namespace {

constexpr uint32_t kWhite = 0xFFFFFFFFu;
constexpr uint32_t kHalf = 0x007F7F7Fu;

// The part of source from (left, top) on, width x height, as a person sees it.
std::vector<uint32_t> SeenPart(CHostImage* source, int left, int top, int width, int height)
{
    std::vector<uint32_t> pixels;
    for (int y = top; y < top + height; ++y) {
        for (int x = left; x < left + width; ++x) pixels.push_back(SeenAt(source, x, y));
    }
    return pixels;
}

std::vector<uint32_t> SeenWhole(IImage* image)
{
    auto* picture = static_cast<CHostImage*>(image);
    return SeenPart(picture, 0, 0, picture->Width(), picture->Height());
}

// An image that writes down the rectangles it was asked to crop to, then crops.
class CCropRecordingImage final : public CHostImage {
public:
    static CComPtr<CCropRecordingImage> Make(int width, int height)
    {
        auto image = CComPtr<CCropRecordingImage>::Adopt(new CCropRecordingImage());
        image->Allocate(width, height, 32, nullptr);
        return image;
    }

    bool Crop(int left, int top, int right, int bottom, IUnknown** cropped) override
    {
        asked.push_back({left, top, right, bottom});
        return CHostImage::Crop(left, top, right, bottom, cropped);
    }

    std::vector<std::array<int, 4>> asked;
};

// An image whose crop hands back something that is not an image.
class CCropToNonImage final : public CHostImage {
public:
    bool Crop(int, int, int, int, IUnknown** cropped) override
    {
        *cropped = static_cast<IImage*>(CImageWithout::Create(1, 1, IID_IImage));
        return true;
    }
};

// A filter of the module's crop factory with the reference preview site, the
// user's selection set on it as the host's mouse tool writes it.
class CropFilter : public ::testing::Test {
protected:
    void Make(CComPtr<CHostImage> picture)
    {
        source = std::move(picture);
        filter = CreateInteractiveFilter(FactoryOf<CInteractiveCropFactory>(), static_cast<IImage*>(source.Get()),
                                         nullptr);
        ASSERT_TRUE(filter);
        site = CComPtr<CPreviewSite>::Adopt(CPreviewSite::Create(nullptr));
        filter->SetPreviewSite(site.Get());
    }

    void Select(const char16_t* selection)
    {
        site->SelectByUser(selection);
        filter->SelectionChanged();
    }

    // The result of applying to the factory's source, or empty when it failed.
    CComPtr<IImage> Cropped(IProgress* progress = nullptr)
    {
        CComPtr<IImage> result;
        CComPtr<IStatus> status;
        const bool applied = filter->Apply(nullptr, result.Receive(), progress, status.Receive());
        EXPECT_EQ(applied, static_cast<bool>(result));
        EXPECT_FALSE(status) << "the crop adds no status of its own";
        return result;
    }

    CComPtr<CHostImage> source;
    CComPtr<IInteractiveFilter> filter;
    CComPtr<CPreviewSite> site;
};

void ExpectAnnouncedAndFinished(const std::vector<CRecordingProgress::Event>& events, bool success)
{
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0].call, CRecordingProgress::Call::SetText);
    EXPECT_EQ(events[0].text, u"Cropping");
    EXPECT_EQ(events[1].call, CRecordingProgress::Call::Finish);
    EXPECT_EQ(events[1].success, success);
}

} // namespace

// ---------------------------------------------------------------- the apply

TEST_F(CropFilter, KeepsTheSelectedPartAsSeenFromTheTopLeft)
{
    Make(MakeImage(7, 5, DistinctPixel));
    Select(u"0 0 3 2");
    const CComPtr<IImage> corner = Cropped();
    ASSERT_TRUE(corner);
    EXPECT_EQ(SeenWhole(corner.Get()), SeenPart(source.Get(), 0, 0, 3, 2)) << "the top-left corner";

    Select(u"2 1 6 4");
    const CComPtr<IImage> middle = Cropped();
    ASSERT_TRUE(middle);
    EXPECT_EQ(SeenWhole(middle.Get()), SeenPart(source.Get(), 2, 1, 4, 3)) << "right and bottom are left out";

    Select(u"  -2 3\t4 99 and more");
    const CComPtr<IImage> clipped = Cropped();
    ASSERT_TRUE(clipped);
    EXPECT_EQ(SeenWhole(clipped.Get()), SeenPart(source.Get(), 0, 3, 4, 2)) << "clipped to the picture";
    EXPECT_EQ(SeenWhole(source.Get()), SeenPart(source.Get(), 0, 0, 7, 5));
}

TEST_F(CropFilter, ASelectionDraggedBackwardsIsTurnedAround)
{
    Make(MakeImage(320, 240, DistinctPixel));
    Select(u"300 200 100 50");
    const CComPtr<IImage> cropped = Cropped();
    ASSERT_TRUE(cropped);
    EXPECT_EQ(SeenWhole(cropped.Get()), SeenPart(source.Get(), 100, 50, 200, 150));

    Select(u"4 9 2 1");
    const CComPtr<IImage> small = Cropped();
    ASSERT_TRUE(small);
    EXPECT_EQ(SeenWhole(small.Get()), SeenPart(source.Get(), 2, 1, 2, 8)) << "each axis on its own";
}

TEST_F(CropFilter, AnnouncesItselfAndTellsTheSinkHowTheHostsCropEnded)
{
    Make(MakeImage(7, 5, DistinctPixel));
    Select(u"1 1 3 3");
    auto succeeding = CComPtr<CRecordingProgress>::Adopt(CRecordingProgress::Create());
    EXPECT_TRUE(Cropped(succeeding.Get()));
    ExpectAnnouncedAndFinished(succeeding->Events(), true);

    for (const char16_t* empty : {u"2 2 2 4", u"1 3 5 3", u"8 0 12 5", u"0 -6 7 0"}) {
        SCOPED_TRACE(NarrowToUtf8(empty));
        Select(empty);
        auto failing = CComPtr<CRecordingProgress>::Adopt(CRecordingProgress::Create());
        EXPECT_FALSE(Cropped(failing.Get())) << "empty, or empty once clipped";
        ExpectAnnouncedAndFinished(failing->Events(), false);
    }
}

// The filter passes its rectangle as it is; what is inside is the host's decision.
TEST_F(CropFilter, HandsTheHostTheRectangleUnchanged)
{
    const auto recording = CCropRecordingImage::Make(7, 5);
    Make(CComPtr<CHostImage>::Share(recording.Get()));
    EXPECT_FALSE(Cropped()) << "without a selection the rectangle is empty";
    Select(u"-5 -6 900 800");
    EXPECT_TRUE(Cropped());
    Select(u"9 8 7");
    Select(u"1 2 x 4");
    Select(nullptr);
    EXPECT_TRUE(Cropped()) << "texts that are not four numbers keep the rectangle";
    using Rect = std::array<int, 4>;
    EXPECT_EQ(recording->asked, (std::vector<Rect>{{0, 0, 0, 0}, {-5, -6, 900, 800}, {-5, -6, 900, 800}}));

    filter->SetFormat(u"left:2\ntop:2\n");
    EXPECT_TRUE(Cropped());
    EXPECT_EQ(recording->asked.back(), (Rect{-5, -6, 900, 800})) << "a parameter text changes nothing";
}

TEST_F(CropFilter, RefusesWithoutAnImage)
{
    Make(MakeImage(7, 5, DistinctPixel));
    Select(u"1 1 3 3");
    const auto notAnImage = CComPtr<CHostImage>::Adopt(CImageWithout::Create(7, 5, IID_IImage));
    const FailedApply refused =
        ApplyExpectingFailure(filter.Get(), static_cast<IImage*>(notAnImage.Get()), CRecordingProgress::kNeverCancel);
    EXPECT_EQ(refused.code, 6);
    EXPECT_TRUE(refused.events.empty()) << "refused before the announcement";

    auto odd = CComPtr<CCropToNonImage>::Adopt(new CCropToNonImage());
    odd->Allocate(7, 5, 32, nullptr);
    const FailedApply notCropped =
        ApplyExpectingFailure(filter.Get(), static_cast<IImage*>(odd.Get()), CRecordingProgress::kNeverCancel);
    EXPECT_EQ(notCropped.code, 6) << "a crop that is no image";
    EXPECT_FALSE(notCropped.storedResult);
    ExpectAnnouncedAndFinished(notCropped.events, false);

    auto sourceless = CComPtr<IFilter>::Adopt(new CInteractiveCrop(nullptr, nullptr));
    const FailedApply noSource = ApplyExpectingFailure(sourceless.Get(), nullptr, CRecordingProgress::kNeverCancel);
    EXPECT_EQ(noSource.code, 5);
    EXPECT_TRUE(noSource.events.empty());
}

// ---------------------------------------------------------------- the thumbnail's marks

// An 8 x 6 white thumbnail with the scaled rectangle (2, 1, 6, 5), worked by hand:
// the frame is the rectangle's border; the kept pixels are columns 3 and 4 of
// section rows 1 and 2, which are rows 4 and 3 from the top, so the frame's bottom
// stays black and the row under its top is halved. W white, D halved, 0 black.
TEST(CropThumbnail, FramesTheRectangleAndHalvesTheRest)
{
    const auto thumbnail = MakeImage(8, 6, [](int, int) { return kWhite; });
    MarkSelection(PixelRows{thumbnail->GetPixels(), 8 * 4, 8, 6}, RECT{2, 1, 6, 5});
    constexpr uint32_t W = kWhite;
    constexpr uint32_t D = kHalf;
    const std::vector<uint32_t> expected = {
        D, D, D, D, D, D, D, D,
        D, D, 0, 0, 0, 0, D, D,
        D, D, 0, D, D, 0, D, D,
        D, D, 0, W, W, 0, D, D,
        D, D, 0, 0, 0, 0, D, D,
        D, D, D, D, D, D, D, D,
    };
    EXPECT_EQ(SeenWhole(static_cast<IImage*>(thumbnail.Get())), expected);
}

TEST(CropThumbnail, HalvesEachChannelAndDropsTheFourthByte)
{
    const auto thumbnail = MakeImage(3, 1, [](int x, int) { return std::array{0x80FF0102u, 0x12345678u, 0xFFFFFFFFu}[x]; });
    MarkSelection(PixelRows{thumbnail->GetPixels(), 3 * 4, 3, 1}, RECT{0, 0, 0, 0});
    EXPECT_EQ(SeenWhole(static_cast<IImage*>(thumbnail.Get())), (std::vector<uint32_t>{0x007F0001u, 0x001A2B3Cu, kHalf}));
}

TEST(CropThumbnail, ARectangleBeyondTheEdgesDrawsOnlyWhatIsInside)
{
    const auto thumbnail = MakeImage(8, 6, [](int, int) { return kWhite; });
    MarkSelection(PixelRows{thumbnail->GetPixels(), 8 * 4, 8, 6}, RECT{-3, -2, 20, 20});
    EXPECT_EQ(SeenWhole(static_cast<IImage*>(thumbnail.Get())), std::vector<uint32_t>(48, kWhite));

    // Only the frame's left column falls inside; the rows above 6 - 2 - 2 = 2 and
    // the columns from 0 on are halved.
    const auto edge = MakeImage(4, 6, [](int, int) { return kWhite; });
    MarkSelection(PixelRows{edge->GetPixels(), 4 * 4, 4, 6}, RECT{3, 2, 900, 900});
    for (int y = 0; y < 6; ++y) {
        EXPECT_EQ(SeenAt(edge.Get(), 3, y), y < 2 ? kHalf : 0u) << "row " << y;
        EXPECT_EQ(SeenAt(edge.Get(), 1, y), kHalf) << "row " << y;
    }
}

TEST(CropThumbnail, ScalesByTheThumbnailsShareOfTheWidthTruncatingTowardZero)
{
    // 216 / 800 = 0.27: 150 x 0.27 = 40.5 and 450 x 0.27 = 121.5.
    EXPECT_EQ(ScaleSelectionToThumbnail(RECT{200, 150, 600, 450}, 216, 800), (RECT{54, 40, 162, 121}));
    EXPECT_EQ(ScaleSelectionToThumbnail(RECT{-10, -1, 3, 7}, 216, 800), (RECT{-2, 0, 0, 1}));
    EXPECT_EQ(ScaleSelectionToThumbnail(RECT{1, 2, 3, 4}, 30, 10), (RECT{3, 6, 9, 12})) << "small pictures grow";
}

// ---------------------------------------------------------------- the dialog

class CropDialog : public FilterDialogTest {
protected:
    void SetUp() override
    {
        FactoryOf<CInteractiveCropFactory>().Initialize(host.Get(), 0);
        MakeFilter(FactoryOf<CInteractiveCropFactory>(), MakeImage(800, 600, [](int, int) { return kWhite; }));
    }

    void TearDown() override
    {
        FilterDialogTest::TearDown();
        FactoryOf<CInteractiveCropFactory>().Uninitialize(0);
    }

    CHostImage* Shown(CInteractiveCropDlg* dialog)
    {
        return static_cast<CHostImage*>(dialog->Thumbnail()->Image());
    }

    CComPtr<IPluginHost> host = CComPtr<IPluginHost>::Adopt(CPluginHost::Create(0x0409));
};

TEST_F(CropDialog, ProposesTheMiddleHalfAndSwitchesToRectangles)
{
    auto* dialog = OpenDialogOf<CInteractiveCropDlg>();
    EXPECT_EQ(WString(site->GetSelection()), u"200 150 600 450");
    EXPECT_EQ(site->ToolModes(), (std::vector<std::pair<int, int>>{{0, 2}}));
    PumpPostedEvents();
    EXPECT_EQ(site->ChangeCount(), 0) << "nothing to store";

    const CComPtr<IImage> cropped = [&] {
        CComPtr<IImage> result;
        EXPECT_TRUE(filter->Apply(nullptr, result.Receive(), nullptr, nullptr));
        return result;
    }();
    EXPECT_EQ(SizeOf(cropped.Get()), std::pair(400, 300)) << "the filter took the proposal on opening";
    EXPECT_NE(Shown(dialog), nullptr);
}

// 800 x 600 fits 222 x 162 at min(0.2775, 0.27): a 216 x 162 thumbnail, and the
// proposal scaled by 216 / 800 is (54, 40, 162, 121).
TEST_F(CropDialog, DarkensTheThumbnailOutsideTheSelection)
{
    auto* dialog = OpenDialogOf<CInteractiveCropDlg>();
    CHostImage* shown = Shown(dialog);
    ASSERT_NE(shown, nullptr);
    ASSERT_EQ(shown->Width(), 216);
    ASSERT_EQ(shown->Height(), 162);
    EXPECT_EQ(SeenAt(shown, 0, 0), kHalf);
    EXPECT_EQ(SeenAt(shown, 53, 80), kHalf) << "left of the frame";
    EXPECT_EQ(SeenAt(shown, 54, 80), 0u) << "the frame";
    EXPECT_EQ(SeenAt(shown, 55, 80), kWhite) << "inside";
    EXPECT_EQ(SeenAt(shown, 108, 40), 0u);
    EXPECT_EQ(SeenAt(shown, 108, 41), kHalf) << "the row under the frame's top";
    EXPECT_EQ(SeenAt(shown, 108, 42), kWhite);
    EXPECT_EQ(SeenAt(shown, 161, 80), 0u);
    EXPECT_EQ(SeenAt(shown, 162, 80), kHalf);
    EXPECT_EQ(SeenAt(shown, 215, 161), kHalf);

    site->SelectByUser(u"800 600 0 0");
    filter->SelectionChanged();
    shown = Shown(dialog);
    EXPECT_EQ(SeenAt(shown, 0, 80), 0u) << "the whole picture, framed";
    EXPECT_EQ(SeenAt(shown, 1, 80), kWhite);
    EXPECT_EQ(SeenAt(shown, 54, 80), kWhite) << "the old frame is gone";
    EXPECT_EQ(SeenAt(shown, 100, 1), kHalf);
}

TEST_F(CropDialog, IgnoresATextSetFromOutside)
{
    auto* dialog = OpenDialogOf<CInteractiveCropDlg>();
    PumpPostedEvents();
    IImage* before = dialog->Thumbnail()->Image();
    filter->SetFormat(u"anything:1\n");
    PumpPostedEvents();
    EXPECT_EQ(dialog->Thumbnail()->Image(), before);
    EXPECT_EQ(site->ChangeCount(), 0);
}

TEST_F(CropDialog, WithoutAHostShowsNoThumbnail)
{
    FactoryOf<CInteractiveCropFactory>().Uninitialize(0);
    MakeFilter(FactoryOf<CInteractiveCropFactory>(), MakeImage(80, 60, [](int, int) { return kWhite; }));
    auto* dialog = OpenDialogOf<CInteractiveCropDlg>();
    EXPECT_EQ(dialog->Thumbnail()->Image(), nullptr);
    EXPECT_EQ(WString(site->GetSelection()), u"20 15 60 45") << "the proposal still goes to the preview";
}
