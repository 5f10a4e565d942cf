// Red-eye reduction as a host drives it: the factory reached beside the enumerator of
// the loaded module, the preview's selection read into the filter, the pixels changed
// through the host's accessor, the statuses of the failures, and the dialog's tool
// and proposal.

#include "tests/FilterDialogTest.h"
#include "tests/HostDoubles.h"
#include "tests/LoadedModule.h"
#include "tests/TestSupport.h"

#include "Common/dialogs/ImageStatic.h"
#include "filters/red-eye/RedEyeDialog.h"
#include "filters/red-eye/RedEyeFactory.h"
#include "filters/red-eye/RedEyeFilter.h"
#include "host/HostInterfaces.h"
#include "plugin/UnlistedInterfaces.h"
#include "refhost/PluginHost.h"

#include <gtest/gtest.h>

namespace {

constexpr GUID kRedEyeId{0x3BDC00C1, 0x6399, 0x4927, {0x88, 0x72, 0xDF, 0x74, 0x62, 0x3C, 0x19, 0x60}};
constexpr uint32_t kSkin = 0x00C89678u;   // red 200, green 150, blue 120
constexpr uint32_t kPupil = 0x00DC1E28u;  // red 220, green 30, blue 40

// The loaded module's red-eye factory, found by its identifier among the unlisted ones.
IFilterFactory* LoadedRedEyeFactory()
{
    void* object = nullptr;
    if (LoadedModulePrimary()->QueryInterface(IID_IUnlistedFactories, &object) != S_OK) return nullptr;
    auto* unlisted = static_cast<IUnlistedFactories*>(object);
    for (int i = 0; i < unlisted->GetUnlistedCount(); ++i) {
        IComponent* component = nullptr;
        if (!unlisted->GetUnlistedAt(i, &component)) continue;
        void* factory = nullptr;
        if (*component->GetID() == kRedEyeId && component->QueryInterface(IID_IFilterFactory, &factory) == S_OK)
            return static_cast<IFilterFactory*>(factory);
    }
    return nullptr;
}

// Skin with a 3 x 3 pupil at columns 5 .. 7 and picture rows 4 .. 6 from the top,
// on a 12 x 10 picture.
CComPtr<CHostImage> Face()
{
    return MakeImage(12, 10, [](int x, int y) {
        const int fromTop = 9 - y;
        return x >= 5 && x < 8 && fromTop >= 4 && fromTop < 7 ? kPupil : kSkin;
    });
}

class RedEyeFilter : public ::testing::Test {
protected:
    void Make(IFilterFactory* factory, CComPtr<CHostImage> picture)
    {
        ASSERT_NE(factory, nullptr);
        source = std::move(picture);
        CComPtr<IFilter> made;
        ASSERT_TRUE(factory->CreateFilter(static_cast<IImage*>(source.Get()), made.Receive(), nullptr));
        filter = CComPtr<IInteractiveFilter>::Query(made.Get(), IID_IInteractiveFilter);
        ASSERT_TRUE(filter);
        site = CComPtr<CPreviewSite>::Adopt(CPreviewSite::Create(nullptr));
        filter->SetPreviewSite(site.Get());
    }

    void Select(const char16_t* selection)
    {
        site->SelectByUser(selection);
        filter->SelectionChanged();
    }

    const RECT& Region() const { return static_cast<CInteractiveRedEye*>(filter.Get())->Region(); }

    CComPtr<CHostImage> source;
    CComPtr<IInteractiveFilter> filter;
    CComPtr<CPreviewSite> site;
};

} // namespace

TEST_F(RedEyeFilter, TheLoadedModulePaintsThePupilInTheSelectionBlack)
{
    Make(LoadedRedEyeFactory(), Face());
    EXPECT_TRUE(filter->IsInteractive());
    Select(u"2 2 10 7");
    auto progress = CComPtr<CRecordingProgress>::Adopt(CRecordingProgress::Create(-1));
    CComPtr<IImage> result;
    CComPtr<IStatus> status;
    ASSERT_TRUE(filter->Apply(nullptr, result.Receive(), progress.Get(), status.Receive()));
    ASSERT_TRUE(result);
    EXPECT_NE(static_cast<IImage*>(source.Get()), result.Get());
    for (int y = 0; y < 10; ++y) {
        for (int x = 0; x < 12; ++x) {
            const bool pupil = x >= 5 && x < 8 && y >= 4 && y < 7;
            EXPECT_EQ(SeenAt(result.Get(), x, y), pupil ? 0u : kSkin) << x << ", " << y;
            EXPECT_EQ(SeenAt(source.Get(), x, y), pupil ? kPupil : kSkin) << "the source stays";
        }
    }
    EXPECT_EQ(ProgressCalls(progress->Events()), "SetText Rotating;Finish true;");
}

TEST_F(RedEyeFilter, WithoutASelectionTheCopyIsUnchanged)
{
    Make(&FactoryOf<CInteractiveRedEyeFactory>(), Face());
    CComPtr<IImage> result;
    ASSERT_TRUE(filter->Apply(nullptr, result.Receive(), nullptr, nullptr));
    EXPECT_EQ(SeenAt(result.Get(), 6, 5), kPupil);
}

// Each selection in turn, on what the one before left. Found by the robustness test
// under the sanitizers: the selection was read with sscanf, whose conversion of a
// number past the int range is undefined, and the region's rows were then computed
// with an overflowing subtraction. Numbers no setting may hold now stop the reading
// as a missing number does.
TEST_F(RedEyeFilter, TheSelectionIsReadInIncreasingOrderOrFieldByField)
{
    Make(&FactoryOf<CInteractiveRedEyeFactory>(), Face());
    struct Step {
        const char16_t* selection;
        RECT region;
        const char* why;
    };
    for (const Step& step : {Step{u"10 20 5 8", {5, 8, 10, 20}, "four numbers, put in increasing order"},
                             Step{u"1 2", {1, 2, 10, 20}, "two numbers replace left and top only"},
                             Step{u"30 40 50", {30, 40, 50, 20}, "three numbers are taken as they stand"},
                             Step{u"none", {30, 40, 50, 20}, "no number"}, Step{u"1 2 3 4", {1, 2, 3, 4}, "four"},
                             Step{u"5 -2147483648 7 8", {5, 2, 3, 4}, "only the number before a refused one"},
                             Step{u"9 nan", {9, 2, 3, 4}, "not a number"}}) {
        Select(step.selection);
        EXPECT_EQ(Region(), step.region) << NarrowToUtf8(step.selection) << ": " << step.why;
    }
}

// Found by the robustness test: a selection far beyond the picture took the region
// as it stood, and the pixel loops ran over billions of pixels that are not there.
// Pixels outside read as nothing and take no paint, so such a selection treats what
// the picture holds of it, as one just past the picture's edges does.
TEST_F(RedEyeFilter, ASelectionFarBeyondThePictureTreatsThePictureQuickly)
{
    Make(&FactoryOf<CInteractiveRedEyeFactory>(), Face());
    Select(u"0 -1 12 10");
    CComPtr<IImage> justBeyond;
    ASSERT_TRUE(filter->Apply(nullptr, justBeyond.Receive(), nullptr, nullptr));
    Select(u"-1000000000 -1000000000 1000000000 1000000000");
    EXPECT_EQ(Region(), (RECT{-1000000000, -1000000000, 1000000000, 1000000000}));
    CComPtr<IImage> farBeyond;
    ASSERT_TRUE(filter->Apply(nullptr, farBeyond.Receive(), nullptr, nullptr));
    for (int y = 0; y < 10; ++y) {
        for (int x = 0; x < 12; ++x) {
            EXPECT_EQ(SeenAt(farBeyond.Get(), x, y), SeenAt(justBeyond.Get(), x, y)) << x << ", " << y;
            EXPECT_EQ(SeenAt(farBeyond.Get(), x, y), x >= 5 && x < 8 && y >= 4 && y < 7 ? 0u : kSkin) << x << ", " << y;
        }
    }
}

TEST_F(RedEyeFilter, Failures)
{
    Make(&FactoryOf<CInteractiveRedEyeFactory>(), Face());

    const auto refusing = CloneRefusingSources(6, 4);
    for (size_t i = 0; i < 3; ++i) {
        const FailedApply failed = ApplyExpectingFailure(filter.Get(), static_cast<IImage*>(refusing[i].Get()), -1);
        EXPECT_EQ(failed.code, 6) << "no copy, source " << i;
        EXPECT_FALSE(failed.storedResult) << i;
    }
    CComPtr<IImage> result;
    EXPECT_TRUE(filter->Apply(static_cast<IImage*>(refusing[3].Get()), result.Receive(), nullptr, nullptr))
        << "the accessor changes a copy that shows no pixel buffer";
    auto noAccessor = CComPtr<CRefusingCloneImage>::Adopt(CRefusingCloneImage::Create(6, 4, &IID_IPixelAccess));
    const FailedApply failed = ApplyExpectingFailure(filter.Get(), static_cast<IImage*>(noAccessor.Get()), -1);
    EXPECT_EQ(failed.code, 6) << "a copy without pixel access";
}

class RedEyeDialog : public FilterDialogTest {};

TEST_F(RedEyeDialog, AsksForTheRectangleToolAndProposesTheMiddleQuarter)
{
    MakeFilter(FactoryOf<CInteractiveRedEyeFactory>(), MakeImage(41, 22, DistinctPixel));
    auto* dialog = OpenDialogOf<CInteractiveRedEyeDlg>();
    ASSERT_NE(dialog, nullptr);
    ASSERT_FALSE(site->ToolModes().empty());
    EXPECT_EQ(site->ToolModes().front(), std::make_pair(0, 4));
    const char16_t* proposed = site->GetSelection();
    ASSERT_NE(proposed, nullptr);
    EXPECT_EQ(WString(proposed), WString(u"10 5 30 16"));
    EXPECT_EQ(static_cast<CInteractiveRedEye*>(filter.Get())->Region(), (RECT{10, 5, 30, 16}))
        << "the filter reads the proposal when its dialog is made";
}

TEST_F(RedEyeDialog, MarksTheRegionOnItsThumbnail)
{
    constexpr uint32_t kWhite = 0xFFFFFFFFu;
    constexpr uint32_t kHalf = 0x007F7F7Fu;
    auto host = CComPtr<IPluginHost>::Adopt(CPluginHost::Create(0x0409));
    FactoryOf<CInteractiveRedEyeFactory>().Initialize(host.Get(), 0);
    MakeFilter(FactoryOf<CInteractiveRedEyeFactory>(), MakeImage(800, 600, [](int, int) { return kWhite; }));
    auto* dialog = OpenDialogOf<CInteractiveRedEyeDlg>();
    auto* shown = static_cast<CHostImage*>(dialog->Thumbnail()->Image());
    ASSERT_NE(shown, nullptr);
    const int middleRow = shown->Height() / 2;
    EXPECT_EQ(SeenAt(shown, 0, 0), kHalf) << "outside the proposed middle quarter";
    EXPECT_EQ(SeenAt(shown, shown->Width() / 2, middleRow), kWhite) << "inside it";

    site->SelectByUser(u"800 600 0 0");
    filter->SelectionChanged();
    shown = static_cast<CHostImage*>(dialog->Thumbnail()->Image());
    EXPECT_EQ(SeenAt(shown, 0, middleRow), 0u) << "the whole picture, framed";
    EXPECT_EQ(SeenAt(shown, 1, middleRow), kWhite);
    FactoryOf<CInteractiveRedEyeFactory>().Uninitialize(0);
}
