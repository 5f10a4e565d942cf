// The Noise sheet under the offscreen platform: its two pages, what each stores and
// reloads, the measured levels arriving from the preview, the region the user
// selects, and "Automatic Profile".

#include "tests/FilterDialogTest.h"
#include "tests/noise/NoisyPictures.h"

#include "Common/base/FilterFormat.h"
#include "Common/dialogs/FlexPropertySheet.h"
#include "Common/dialogs/FilterPage.h"
#include "filters/noise/NoiseAddPage.h"
#include "filters/noise/NoiseDialog.h"
#include "filters/noise/NoiseFactory.h"
#include "filters/noise/NoiseRemovePage.h"
#include "plugin/SettingsInterfaces.h"

#include <QPushButton>
#include <QSlider>

#include <cmath>

using namespace noise_test;

namespace {

using ToolMode = std::pair<int, int>;
const ToolMode kRegionDropped{1, 0};
const ToolMode kLevelsArrived{2, 0};

class NoiseDialogTest : public FilterDialogTest {
protected:
    // A quiet picture, under the size the filter measures: the preview changes no
    // level behind the test's back.
    void Open() { OpenOn(MakeImage(64, 48, DistinctPixel)); }

    void OpenOn(CComPtr<CHostImage> picture)
    {
        MakeFilter(FactoryOf<CInteractiveNoiseFactory>(), std::move(picture));
        sheet = OpenDialogOf<CNoiseSheet>();
        PumpPostedEvents();
    }

    std::string Format() { return NarrowToUtf8(ReadFilterFormat(filter.Get())); }
    CNoiseRemoveNoisePage* Remove() const { return sheet->RemoveNoisePage(); }
    CNoiseAddNoisePage* Add() const { return sheet->AddNoisePage(); }
    std::vector<int> LevelPositions() const
    {
        return {Remove()->RedSlider()->value(), Remove()->GreenSlider()->value(), Remove()->BlueSlider()->value()};
    }
    void Reload(const char16_t* format)
    {
        filter->SetFormat(format);
        PumpPostedEvents();
    }
    // A user's drag on the preview that the host reports.
    void Select(const char16_t* selection)
    {
        site->SelectByUser(selection);
        filter->SelectionChanged();
        PumpPostedEvents();
    }

    CNoiseSheet* sheet = nullptr;
};

} // namespace

TEST_F(NoiseDialogTest, OpensOnRemoveNoiseWithItsStartValuesAndStoresThem)
{
    Open();
    EXPECT_EQ(sheet->windowTitle(), QStringLiteral(" "));
    ASSERT_EQ(sheet->Sheet()->PageCount(), 2);
    EXPECT_EQ(sheet->Sheet()->Page(0)->Title(), QStringLiteral("Remove Noise"));
    EXPECT_EQ(sheet->Sheet()->Page(1)->Title(), QStringLiteral("Add Noise"));
    EXPECT_EQ(sheet->Sheet()->ActivePage(), CNoiseSheet::kRemoveNoiseIndex);

    const QSlider* smoothness = Remove()->SmoothnessSlider();
    EXPECT_EQ(std::make_pair(smoothness->minimum(), smoothness->maximum()), std::make_pair(1, 9));
    EXPECT_EQ(smoothness->value(), 3);
    for (const QSlider* level : {Remove()->RedSlider(), Remove()->GreenSlider(), Remove()->BlueSlider()}) {
        EXPECT_EQ(std::make_pair(level->minimum(), level->maximum()), std::make_pair(0, 200));
        EXPECT_EQ(level->value(), 0);
    }
    const QSlider* amount = Add()->AmountSlider();
    EXPECT_EQ(std::make_pair(amount->minimum(), amount->maximum()), std::make_pair(0, 100));
    EXPECT_EQ(amount->tickInterval(), 10);
    EXPECT_EQ(amount->value(), 20);
    EXPECT_EQ(Remove()->AutomaticProfileButton()->text(), QStringLiteral("Automatic Profile"));

    EXPECT_EQ(Format(), "NoiseValueVar1:0\nNoiseValueVar2:0\nNoiseValueVar3:0\nNoiseFilterSize:3\n"
                        "NoiseActivePage:RemoveNoisePage\n");
    EXPECT_EQ(site->ChangeCount(), 1);
}

TEST_F(NoiseDialogTest, EachPageStoresItsKeysAndNamesItselfWhenShowing)
{
    Open();
    sheet->Sheet()->SetActivePage(CNoiseSheet::kAddNoiseIndex);
    PumpPostedEvents();
    EXPECT_EQ(Format(), "NoiseValueVar1:0\nNoiseValueVar2:0\nNoiseValueVar3:0\nNoiseFilterSize:3\n"
                        "NoiseActivePage:AddNoisePage\nAddNoiseAmount:0.200000\n");
    Add()->AmountSlider()->setValue(37);
    PumpPostedEvents();
    EXPECT_NE(Format().find("AddNoiseAmount:0.370000"), std::string::npos) << Format();

    sheet->Sheet()->SetActivePage(CNoiseSheet::kRemoveNoiseIndex);
    Remove()->GreenSlider()->setValue(45);
    Remove()->SmoothnessSlider()->setValue(7);
    PumpPostedEvents();
    EXPECT_EQ(Format(), "NoiseValueVar1:0\nNoiseValueVar2:45\nNoiseValueVar3:0\nNoiseFilterSize:7\n"
                        "NoiseActivePage:RemoveNoisePage\nAddNoiseAmount:0.370000\n");
}

// Only the exact name shows the removal; any other text shows adding noise. A
// missing level is 0 and a missing size 3; a missing amount leaves its trackbar.
TEST_F(NoiseDialogTest, TheReloadPicksThePageAndSetsTheTrackbars)
{
    Open();
    Reload(u"NoiseActivePage:AddNoisePage\nAddNoiseAmount:0.456\nNoiseValueVar1:12\nNoiseValueVar2:250\n"
           u"NoiseValueVar3:-4\nNoiseFilterSize:8\n");
    EXPECT_EQ(sheet->Sheet()->ActivePage(), CNoiseSheet::kAddNoiseIndex);
    EXPECT_EQ(Add()->AmountSlider()->value(), 46) << "floor(45.6 + 0.5)";
    EXPECT_EQ(LevelPositions(), (std::vector<int>{12, 200, 0})) << "the trackbars keep to their ranges";
    EXPECT_EQ(Remove()->SmoothnessSlider()->value(), 8);

    Reload(u"NoiseActivePage:RemoveNoisePage\nNoiseValueVar2:30\n");
    EXPECT_EQ(sheet->Sheet()->ActivePage(), CNoiseSheet::kRemoveNoiseIndex);
    EXPECT_EQ(LevelPositions(), (std::vector<int>{0, 30, 0}));
    EXPECT_EQ(Remove()->SmoothnessSlider()->value(), 3);
    EXPECT_EQ(Add()->AmountSlider()->value(), 46);
    EXPECT_EQ(Format(), "NoiseActivePage:RemoveNoisePage\nNoiseValueVar2:30\nNoiseValueVar1:0\nNoiseValueVar3:0\n"
                        "NoiseFilterSize:3\n")
        << "the page shown stores what it was given";

    for (const char16_t* other : {u"NoiseActivePage:removenoisepage\nAddNoiseAmount:0.454\n", u"AddNoiseAmount:7\n"}) {
        Reload(u"NoiseActivePage:RemoveNoisePage\n");
        Reload(other);
        EXPECT_EQ(sheet->Sheet()->ActivePage(), CNoiseSheet::kAddNoiseIndex) << NarrowToUtf8(other);
    }
    EXPECT_EQ(Add()->AmountSlider()->value(), 100);
    Reload(u"NoiseActivePage:AddNoisePage\nAddNoiseAmount:0.454\n");
    EXPECT_EQ(Add()->AmountSlider()->value(), 45);
    Reload(u"NoiseActivePage:AddNoisePage\nAddNoiseAmount:-1\n");
    EXPECT_EQ(Add()->AmountSlider()->value(), 0);
}

TEST(NoiseAddPageScale, PositionsAndAmountsMapBothWays)
{
    EXPECT_EQ(NoiseAmountAt(0), 0.0);
    EXPECT_EQ(NoiseAmountAt(37), 0.37);
    EXPECT_EQ(NoiseAmountAt(100), 1.0);
    EXPECT_EQ(NoiseAmountAt(130), 1.0);
    EXPECT_EQ(NoiseAmountAt(-5), 0.0);
    EXPECT_EQ(NoiseAmountPosition(0.2), 20);
    EXPECT_EQ(NoiseAmountPosition(0.005), 1) << "halves go up";
    EXPECT_EQ(NoiseAmountPosition(0.0049), 0);
    EXPECT_EQ(NoiseAmountPosition(1e300), 100);
    EXPECT_EQ(NoiseAmountPosition(-1e300), 0);
    EXPECT_EQ(NoiseAmountPosition(std::nan("")), 0);
}

// The preview applies the filter with levels 0; the filter writes the measured levels
// back, the trackbars show them and the page tells the preview they arrived, once.
TEST_F(NoiseDialogTest, MeasuredLevelsArriveFromThePreviewAndShow)
{
    OpenOn(NoisyGrey(400, 330, {3, 6, 10}));
    EXPECT_GE(site->ChangeCount(), 1);
    const std::vector<int> shown = LevelPositions();
    EXPECT_NEAR(shown[0], UniformVariance(3), UniformVariance(3) / 4 + 0.5);
    EXPECT_NEAR(shown[1], UniformVariance(6), UniformVariance(6) / 4 + 0.5);
    EXPECT_NEAR(shown[2], UniformVariance(10), UniformVariance(10) / 4 + 0.5);
    EXPECT_EQ(std::count(site->ToolModes().begin(), site->ToolModes().end(), kLevelsArrived), 1);

    // Levels that move from one non-zero set to another are no arrival.
    Reload(u"NoiseActivePage:RemoveNoisePage\nNoiseValueVar1:50\nNoiseValueVar2:50\nNoiseValueVar3:50\n");
    EXPECT_EQ(std::count(site->ToolModes().begin(), site->ToolModes().end(), kLevelsArrived), 1);
}

// The preview's selection reaches the page only while it shows; a rectangle with room
// in it stores the settings, so that the preview measures in it.
TEST_F(NoiseDialogTest, TheSelectionBecomesThePagesRegion)
{
    Open();
    const int changes = site->ChangeCount();
    Select(u"300 200 100 50");
    EXPECT_EQ(Remove()->Region(), (RECT{100, 50, 300, 200}));
    EXPECT_EQ(site->ChangeCount(), changes + 1);

    Select(u"1 2 3");
    EXPECT_EQ(Remove()->Region(), (RECT{100, 50, 300, 200})) << "three numbers are no selection";
    Select(u"40 60 40 90");
    EXPECT_EQ(Remove()->Region(), (RECT{0, 0, 0, 0})) << "an empty rectangle clears it";
    EXPECT_EQ(site->ChangeCount(), changes + 1);

    sheet->Sheet()->SetActivePage(CNoiseSheet::kAddNoiseIndex);
    PumpPostedEvents();
    const int onAddPage = site->ChangeCount();
    Select(u"10 10 50 50");
    EXPECT_EQ(Remove()->Region(), (RECT{0, 0, 0, 0}));
    EXPECT_EQ(site->ChangeCount(), onAddPage);
}

// "Automatic Profile" drops the region and the levels; the smoothness stays. Leaving
// the page drops the region too.
TEST_F(NoiseDialogTest, AutomaticProfileAndLeavingThePageDropTheRegion)
{
    Open();
    Reload(u"NoiseActivePage:RemoveNoisePage\nNoiseValueVar1:20\nNoiseValueVar2:30\nNoiseValueVar3:40\n"
           u"NoiseFilterSize:6\n");
    Select(u"0 0 30 20");
    ASSERT_EQ(Remove()->Region(), (RECT{0, 0, 30, 20}));
    const size_t toolRequests = site->ToolModes().size();
    const int changes = site->ChangeCount();

    Remove()->AutomaticProfileButton()->click();
    site->SelectByUser(nullptr);  // as a host drops its rectangle on (1, 0)
    PumpPostedEvents();
    EXPECT_EQ(Remove()->Region(), (RECT{0, 0, 0, 0}));
    ASSERT_EQ(site->ToolModes().size(), toolRequests + 1);
    EXPECT_EQ(site->ToolModes().back(), kRegionDropped);
    EXPECT_EQ(LevelPositions(), (std::vector<int>{0, 0, 0}));
    EXPECT_EQ(Remove()->SmoothnessSlider()->value(), 6);
    EXPECT_EQ(site->ChangeCount(), changes + 1) << "one store for the three trackbars";
    EXPECT_EQ(Format(), "NoiseActivePage:RemoveNoisePage\nNoiseValueVar1:0\nNoiseValueVar2:0\nNoiseValueVar3:0\n"
                        "NoiseFilterSize:6\n");

    Remove()->AutomaticProfileButton()->click();
    PumpPostedEvents();
    EXPECT_EQ(site->ToolModes().back(), kRegionDropped);
    EXPECT_EQ(site->ChangeCount(), changes + 1) << "nothing moved: nothing stored";

    Select(u"0 0 30 20");
    const size_t beforeLeaving = site->ToolModes().size();
    sheet->Sheet()->SetActivePage(CNoiseSheet::kAddNoiseIndex);
    PumpPostedEvents();
    EXPECT_EQ(Remove()->Region(), (RECT{0, 0, 0, 0}));
    ASSERT_EQ(site->ToolModes().size(), beforeLeaving + 1);
    EXPECT_EQ(site->ToolModes().back(), kRegionDropped);
    sheet->Sheet()->SetActivePage(CNoiseSheet::kRemoveNoiseIndex);
    PumpPostedEvents();
    EXPECT_EQ(site->ToolModes().size(), beforeLeaving + 1) << "coming back asks for nothing";
}

// What the factory declares is what the dialog offers and starts with.
TEST_F(NoiseDialogTest, TheDeclaredRangesAndStartsAreTheDialogs)
{
    Open();
    auto settings = CComPtr<IFilterSettings>::Query(
        static_cast<IFilterFactory*>(&FactoryOf<CInteractiveNoiseFactory>()), IID_IFilterSettings);
    ASSERT_TRUE(settings);
    ASSERT_EQ(settings->GetSettingCount(), 6);
    EXPECT_EQ(WString(settings->GetSetting(0)->startText), u"RemoveNoisePage") << "the page the sheet opens on";
    const QSlider* const sliders[] = {Remove()->RedSlider(), Remove()->GreenSlider(), Remove()->BlueSlider(),
                                      Remove()->SmoothnessSlider()};
    for (int i = 1; i <= 4; ++i) {
        const SettingDeclaration& declared = *settings->GetSetting(i);
        const QSlider* slider = sliders[i - 1];
        EXPECT_EQ(slider->minimum(), declared.minimum) << NarrowToUtf8(declared.key);
        EXPECT_EQ(slider->maximum(), declared.maximum) << NarrowToUtf8(declared.key);
        EXPECT_EQ(slider->value(), declared.start) << NarrowToUtf8(declared.key);
        EXPECT_EQ(WString(declared.page), u"RemoveNoisePage");
    }
    const SettingDeclaration& amount = *settings->GetSetting(5);
    EXPECT_EQ(NoiseAmountAt(Add()->AmountSlider()->minimum()), amount.minimum);
    EXPECT_EQ(NoiseAmountAt(Add()->AmountSlider()->maximum()), amount.maximum);
    EXPECT_EQ(NoiseAmountAt(Add()->AmountSlider()->value()), amount.start);
    EXPECT_EQ(WString(amount.page), u"AddNoisePage");
    const PreviewShapeUse shape = settings->GetPreviewShapeUse();
    EXPECT_EQ(shape.shape, PreviewShape::Selection);
    EXPECT_FALSE(shape.required) << "removing noise measures the whole picture without one";
}
