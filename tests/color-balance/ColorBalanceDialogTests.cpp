// The Color Balance sheet driven as a host drives it, under the offscreen platform:
// what each page stores and reloads, the colour-cast button, and the colour picked
// in the preview.

#include "tests/FilterDialogTest.h"
#include "tests/TestSupport.h"

#include "Common/base/FilterFormat.h"
#include "Common/dialogs/FlexPropertySheet.h"
#include "filters/color-balance/ColorBalanceDialog.h"
#include "filters/color-balance/ColorBalanceFactory.h"
#include "filters/color-balance/ColorBalanceHslPage.h"
#include "filters/color-balance/ColorBalanceRgbPage.h"
#include "filters/color-balance/ColorBalanceSettings.h"
#include "filters/shared/color-cast/ColorCast.h"
#include "plugin/SettingsInterfaces.h"
#include "refhost/PreviewSite.h"

#include <QPushButton>
#include <QSlider>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace {

uint32_t Rgb(int red, int green, int blue)
{
    return 0xFF000000u | static_cast<uint32_t>(red) << 16 | static_cast<uint32_t>(green) << 8 |
           static_cast<uint32_t>(blue);
}

// Two of (110, 100, 90) nearest to grey and eight of (130, 100, 70): a clear cast
// whose gains are 100 / 110, 1 and 100 / 90.
CComPtr<CHostImage> WarmPicture()
{
    return MakeImage(5, 2, [](int x, int) { return x == 2 ? Rgb(110, 100, 90) : Rgb(130, 100, 70); });
}

// The trackbar positions for the gains the detection finds in picture: each gain
// times 100, truncated. The gains are 100 / 110, 1 and 100 / 90 up to the last bit
// (so green may truncate to 99).
std::vector<int> PositionsForCastOf(CHostImage* picture)
{
    double gains[3] = {0.0, 0.0, 0.0};
    EXPECT_TRUE(DetectColorCast(static_cast<IImage*>(picture), nullptr, &gains[0], &gains[1], &gains[2]));
    std::vector<int> positions;
    for (double gain : gains) positions.push_back(std::clamp(static_cast<int>(gain * 100), 0, 200));
    EXPECT_EQ(positions[0], 90);
    EXPECT_NEAR(positions[1], 100, 1);
    EXPECT_EQ(positions[2], 111);
    return positions;
}

// Every pixel outside the analysed levels: the detection finds nothing.
CComPtr<CHostImage> DarkPicture()
{
    return MakeImage(5, 2, [](int, int) { return Rgb(10, 12, 14); });
}

// The decimal text of a colour as the preview hands it: red in the low byte.
WString PickedText(int red, int green, int blue)
{
    return WidenUtf8(std::to_string(red | green << 8 | blue << 16));
}

class ColorBalanceDialog : public FilterDialogTest {
protected:
    void SetUp() override { MakeFilter(FactoryOf<CColorBalanceFactory>(), DarkPicture()); }

    CColorBalanceSheet* Open()
    {
        auto* sheet = OpenDialogOf<CColorBalanceSheet>();
        PumpPostedEvents();
        return sheet;
    }

    // A preview site whose picture differs from the filter's source.
    void UsePreviewSiteOf(CComPtr<CHostImage> preview)
    {
        site->Attach(nullptr);
        previewPicture = std::move(preview);
        site = CComPtr<CPreviewSite>::Adopt(CPreviewSite::Create(static_cast<IImage*>(previewPicture.Get())));
        site->Attach(filter.Get());
        filter->SetPreviewSite(site.Get());
    }

    static std::vector<int> Positions(const CColorBalanceRgbPage* page)
    {
        return {page->RedSlider()->value(), page->GreenSlider()->value(), page->BlueSlider()->value()};
    }

    void Pick(const WString& colour)
    {
        site->SelectByUser(colour.c_str());
        filter->SelectionChanged();
        PumpPostedEvents();
    }

    CComPtr<CHostImage> previewPicture;
};

} // namespace

TEST_F(ColorBalanceDialog, OpensOnTheRgbPageWithBothPagesStored)
{
    CColorBalanceSheet* sheet = Open();
    EXPECT_EQ(sheet->Sheet()->PageCount(), 2);
    EXPECT_EQ(sheet->Sheet()->ActivePage(), CColorBalanceSheet::kRgbIndex);
    EXPECT_EQ(sheet->Sheet()->Page(0)->Title(), QStringLiteral("RGB"));
    EXPECT_EQ(sheet->Sheet()->Page(1)->Title(), QStringLiteral("HSL"));
    EXPECT_EQ(StoredText(u"active"), u"RGB");
    EXPECT_EQ(StoredText(u"red"), u"100");
    EXPECT_EQ(StoredText(u"green"), u"100");
    EXPECT_EQ(StoredText(u"blue"), u"100");
    EXPECT_EQ(StoredText(u"hue"), u"0.000000");
    EXPECT_EQ(StoredText(u"saturation"), u"1.000000");
    EXPECT_EQ(StoredText(u"lightness"), u"1.000000");
    EXPECT_GE(site->ChangeCount(), 1);
    // The RGB page showing asks the preview for the point picker.
    ASSERT_FALSE(site->ToolModes().empty());
    EXPECT_EQ(site->ToolModes().back(), std::make_pair(0, 1));
    EXPECT_EQ(sheet->RgbPage()->ValueText(sheet->RgbPage()->RedSlider()), QStringLiteral("100"));
    EXPECT_EQ(sheet->HslPage()->ValueText(sheet->HslPage()->HueSlider()), QStringLiteral("0"));
    EXPECT_EQ(sheet->HslPage()->HueSlider()->value(), 180);
}

// The declared ranges and starts are what the trackbars offer and store.
TEST_F(ColorBalanceDialog, TrackbarsStartAndEndWhereDeclared)
{
    CColorBalanceSheet* sheet = Open();
    auto settings = CComPtr<IFilterSettings>::Query(static_cast<IFilterFactory*>(&FactoryOf<CColorBalanceFactory>()),
                                                    IID_IFilterSettings);
    ASSERT_TRUE(settings);
    ASSERT_EQ(settings->GetSettingCount(), 7);
    QSlider* const sliders[] = {sheet->RgbPage()->RedSlider(),        sheet->RgbPage()->GreenSlider(),
                                sheet->RgbPage()->BlueSlider(),       sheet->HslPage()->HueSlider(),
                                sheet->HslPage()->SaturationSlider(), sheet->HslPage()->LightnessSlider()};
    const SettingDeclaration& page = *settings->GetSetting(0);
    EXPECT_EQ(page.type, SettingType::Page);
    EXPECT_EQ(StoredText(page.key), page.startText);
    for (int i = 1; i < 7; ++i) {
        const SettingDeclaration& declared = *settings->GetSetting(i);
        EXPECT_EQ(StoredValue(declared.key), declared.start) << NarrowToUtf8(declared.key);
        QSlider* slider = sliders[i - 1];
        sheet->Sheet()->SetActivePage(WString(declared.page) == u"RGB" ? 0 : 1);
        slider->setValue(slider->minimum());
        PumpPostedEvents();
        EXPECT_EQ(StoredValue(declared.key), declared.minimum) << NarrowToUtf8(declared.key);
        slider->setValue(slider->maximum());
        PumpPostedEvents();
        EXPECT_EQ(StoredValue(declared.key), declared.maximum) << NarrowToUtf8(declared.key);
        EXPECT_EQ(StoredText(page.key), WString(declared.page));
    }
}

TEST_F(ColorBalanceDialog, EachPageStoresItsPositionsAndNamesItselfWhenShowing)
{
    CColorBalanceSheet* sheet = Open();
    CColorBalanceRgbPage* rgb = sheet->RgbPage();
    rgb->RedSlider()->setValue(137);
    rgb->BlueSlider()->setValue(0);
    PumpPostedEvents();
    EXPECT_EQ(StoredText(u"red"), u"137");
    EXPECT_EQ(StoredText(u"blue"), u"0");
    EXPECT_EQ(StoredText(u"active"), u"RGB");
    EXPECT_EQ(rgb->ValueText(rgb->RedSlider()), QStringLiteral("137"));

    const size_t toolRequests = site->ToolModes().size();
    sheet->Sheet()->SetActivePage(CColorBalanceSheet::kHslIndex);
    PumpPostedEvents();
    EXPECT_EQ(StoredText(u"active"), u"HSL") << "the page now showing stores its name";
    EXPECT_EQ(site->ToolModes().size(), toolRequests) << "the HSL page asks for no tool";
    CColorBalanceHslPage* hsl = sheet->HslPage();
    hsl->HueSlider()->setValue(0);
    hsl->SaturationSlider()->setValue(29);
    hsl->LightnessSlider()->setValue(200);
    PumpPostedEvents();
    EXPECT_EQ(StoredText(u"hue"), u"-180.000000");
    EXPECT_EQ(StoredText(u"saturation"), u"0.290000");
    EXPECT_EQ(StoredText(u"lightness"), u"2.000000");
    EXPECT_EQ(hsl->ValueText(hsl->HueSlider()), QStringLiteral("-180"));
    EXPECT_EQ(hsl->ValueText(hsl->SaturationSlider()), QStringLiteral("29"));
    EXPECT_EQ(StoredText(u"red"), u"137") << "the other page's keys stay";

    // Moving a trackbar of the page not showing stores its keys, not its name.
    rgb->GreenSlider()->setValue(3);
    PumpPostedEvents();
    EXPECT_EQ(StoredText(u"green"), u"3");
    EXPECT_EQ(StoredText(u"active"), u"HSL");

    sheet->Sheet()->SetActivePage(CColorBalanceSheet::kRgbIndex);
    PumpPostedEvents();
    EXPECT_EQ(StoredText(u"active"), u"RGB");
    EXPECT_EQ(site->ToolModes().size(), toolRequests + 1);
    EXPECT_EQ(site->ToolModes().back(), std::make_pair(0, 1));
}

TEST_F(ColorBalanceDialog, ReloadShowsTheNamedPageAndTruncatesTheHslPositions)
{
    CColorBalanceSheet* sheet = Open();
    filter->SetFormat(u"active:HSL\nred:20\ngreen:150\nblue:199\nhue:30.7\nsaturation:0.29\nlightness:1.999\n");
    PumpPostedEvents();
    EXPECT_EQ(sheet->Sheet()->ActivePage(), CColorBalanceSheet::kHslIndex);
    EXPECT_EQ(Positions(sheet->RgbPage()), (std::vector<int>{20, 150, 199}));
    CColorBalanceHslPage* hsl = sheet->HslPage();
    EXPECT_EQ(hsl->HueSlider()->value(), 210);         // 30.7 + 180 truncated
    EXPECT_EQ(hsl->SaturationSlider()->value(), 28);   // 0.29 x 100 lies just below 29
    EXPECT_EQ(hsl->LightnessSlider()->value(), 199);
    EXPECT_EQ(hsl->ValueText(hsl->HueSlider()), QStringLiteral("30"));
    EXPECT_EQ(sheet->RgbPage()->ValueText(sheet->RgbPage()->BlueSlider()), QStringLiteral("199"));

    // Missing gains count as 100; missing HSL keys leave their trackbars. Any page
    // name but the exact "HSL" shows the RGB page.
    filter->SetFormat(u"active:hsl\ngreen:40\nsaturation:1.5\n");
    PumpPostedEvents();
    EXPECT_EQ(sheet->Sheet()->ActivePage(), CColorBalanceSheet::kRgbIndex);
    EXPECT_EQ(Positions(sheet->RgbPage()), (std::vector<int>{100, 40, 100}));
    EXPECT_EQ(hsl->HueSlider()->value(), 210);
    EXPECT_EQ(hsl->SaturationSlider()->value(), 150);
    EXPECT_EQ(hsl->LightnessSlider()->value(), 199);
    EXPECT_EQ(StoredText(u"active"), u"RGB") << "the page shown stores again";
}

TEST_F(ColorBalanceDialog, AutofixButtonAnalysesThePreviewsPicture)
{
    UsePreviewSiteOf(WarmPicture());
    CColorBalanceSheet* sheet = Open();
    const int changes = site->ChangeCount();
    sheet->RgbPage()->AutofixButton()->click();
    PumpPostedEvents();
    EXPECT_EQ(Positions(sheet->RgbPage()), PositionsForCastOf(previewPicture.Get()));
    EXPECT_EQ(StoredText(u"red"), u"90");
    EXPECT_EQ(StoredText(u"blue"), u"111");
    EXPECT_EQ(site->ChangeCount(), changes + 1) << "one store for the three trackbars";
}

TEST_F(ColorBalanceDialog, AutofixButtonAnalysesTheSourceWithoutAPreview)
{
    // Made for the warm picture, with a site that lends no picture.
    MakeFilter(FactoryOf<CColorBalanceFactory>(), WarmPicture());
    UsePreviewSiteOf(CComPtr<CHostImage>());
    CColorBalanceSheet* sheet = Open();
    sheet->RgbPage()->AutofixButton()->click();
    PumpPostedEvents();
    EXPECT_EQ(Positions(sheet->RgbPage()), PositionsForCastOf(source.Get()));
}

TEST_F(ColorBalanceDialog, AutofixButtonLeavesTheGainsWhenNothingIsFound)
{
    CColorBalanceSheet* sheet = Open();  // the preview shows the dark source
    sheet->RgbPage()->RedSlider()->setValue(120);
    PumpPostedEvents();
    sheet->RgbPage()->AutofixButton()->click();
    PumpPostedEvents();
    EXPECT_EQ(Positions(sheet->RgbPage()), (std::vector<int>{120, 100, 100}));

    // A neutral picture is found to have no cast: the gains go back to 100.
    UsePreviewSiteOf(MakeImage(40, 30, [](int x, int y) {
        const int grey = 50 + 4 * x;
        const int lean = (y % 4 + 1) * ((x + y) % 2 == 0 ? 3 : -3);
        return Rgb(grey + lean, grey, grey - lean);
    }));
    filter->DestroyDialog();
    sheet = Open();
    sheet->RgbPage()->RedSlider()->setValue(120);
    sheet->RgbPage()->AutofixButton()->click();
    PumpPostedEvents();
    EXPECT_EQ(Positions(sheet->RgbPage()), (std::vector<int>{100, 100, 100}));
}

TEST_F(ColorBalanceDialog, APickedNeutralSetsTheGainsByGreen)
{
    CColorBalanceSheet* sheet = Open();
    Pick(PickedText(100, 120, 90));
    // 120 / 100 and 120 / 90, times 100 and truncated.
    EXPECT_EQ(Positions(sheet->RgbPage()), (std::vector<int>{120, 100, 133}));
    EXPECT_EQ(StoredText(u"red"), u"120");
    EXPECT_EQ(StoredText(u"blue"), u"133");

    // At the ends of the accepted gains: 0.5 and 1.5 still count.
    Pick(PickedText(200, 100, 67));
    EXPECT_EQ(Positions(sheet->RgbPage()), (std::vector<int>{50, 100, 149}));
    Pick(PickedText(10, 15, 30));
    EXPECT_EQ(Positions(sheet->RgbPage()), (std::vector<int>{150, 100, 50}));

    // Too dark in a channel, or a gain beyond the ends: nothing changes.
    for (const WString& ignored : {PickedText(4, 100, 100), PickedText(100, 4, 100), PickedText(100, 100, 4),
                                   PickedText(201, 100, 100), PickedText(100, 100, 66), PickedText(10, 16, 30),
                                   WString(u"not a colour"), WString()}) {
        Pick(ignored);
        EXPECT_EQ(Positions(sheet->RgbPage()), (std::vector<int>{150, 100, 50})) << NarrowToUtf8(ignored);
    }
}

TEST_F(ColorBalanceDialog, PicksCountOnlyWhileTheRgbPageShows)
{
    CColorBalanceSheet* sheet = Open();
    sheet->Sheet()->SetActivePage(CColorBalanceSheet::kHslIndex);
    PumpPostedEvents();
    Pick(PickedText(100, 120, 90));
    EXPECT_EQ(Positions(sheet->RgbPage()), (std::vector<int>{100, 100, 100}));
    EXPECT_EQ(StoredText(u"active"), u"HSL");

    // Once the dialog is gone the filter forgets its pages.
    filter->DestroyDialog();
    Pick(PickedText(100, 120, 90));
    EXPECT_FALSE(filter->HasDialog());
}
