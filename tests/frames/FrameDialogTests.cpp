// The frame filter's dialog under the offscreen platform: the list of types, the
// panel each type shows and the text it writes, loading a text in other letter case,
// and the colour buttons of the fading frame.

#include "tests/FilterDialogTest.h"
#include "tests/frames/FrameTestSupport.h"

#include "Common/base/FilterFormat.h"
#include "Common/dialogs/ColorButton.h"
#include "filters/frames/DoubleFramePanel.h"
#include "filters/frames/FadingFramePanel.h"
#include "filters/frames/FrameDialog.h"
#include "filters/frames/SingleFramePanel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QSlider>

#include <gtest/gtest.h>

using namespace frames_test;

namespace {

class FrameDialog : public FilterDialogTest {
protected:
    void SetUp() override { MakeFilter(FactoryOf<CInteractiveFrameFilterFactory>(), MakeImage(40, 30, Busy)); }

    CInteractiveFrameFilterDlg* Open()
    {
        auto* dialog = OpenDialogOf<CInteractiveFrameFilterDlg>();
        PumpPostedEvents();
        return dialog;
    }

    // The filter's text as key=value pairs in order.
    std::string Text()
    {
        const CParamList params(ReadFilterFormat(filter.Get()).c_str());
        std::string text;
        for (int i = 0; i < params.Count(); ++i)
            text += NarrowToUtf8(params.KeyAt(i)) + "=" + NarrowToUtf8(params.ValueAt(i)) + ";";
        return text;
    }

    void Choose(CInteractiveFrameFilterDlg* dialog, int index)
    {
        dialog->TypeList()->setCurrentIndex(index);
        emit dialog->TypeList()->activated(index);
        PumpPostedEvents();
    }
};

} // namespace

TEST_F(FrameDialog, OpensOnTheFadingFrameAndWritesItsStartValues)
{
    auto* dialog = Open();
    ASSERT_EQ(dialog->TypeList()->count(), 3);
    EXPECT_EQ(dialog->TypeList()->itemText(0), "FadeFrameName");
    EXPECT_EQ(dialog->TypeList()->itemText(1), "SingleFrameName");
    EXPECT_EQ(dialog->TypeList()->itemText(2), "DoubleFrameName");
    EXPECT_EQ(dialog->TypeList()->currentIndex(), 0);
    ASSERT_NE(dynamic_cast<CFadingFramePanel*>(dialog->Panel()), nullptr);
    EXPECT_EQ(Text(), "NameOfTheFrame=FadeFrameName;FadeFrameThick=25;FadeFrameIntens=80;FadeFrameSteps=1;"
                      "FadeFrameAngle=45;FadeFrameInOut=1;FadeFrameHorCol=7929742;FadeFrameVerCol=5796351;");
    EXPECT_GE(site->ChangeCount(), 1);
}

TEST_F(FrameDialog, ChoosingATypeShowsItsPanelAndWritesOnlyItsKeys)
{
    auto* dialog = Open();
    Choose(dialog, 1);
    auto* single = dynamic_cast<CSingleFramePanel*>(dialog->Panel());
    ASSERT_NE(single, nullptr);
    EXPECT_TRUE(single->isVisibleTo(dialog));
    EXPECT_EQ(Text(), "NameOfTheFrame=SingleFrameName;SingleFrameThick=25;SingleFrameIntensity=40;"
                      "SingleFrameCorner=1;SingleFrameColor=8092539;");
    single->Thickness()->setValue(70);
    single->Corner()->click();
    PumpPostedEvents();
    EXPECT_EQ(Text(), "NameOfTheFrame=SingleFrameName;SingleFrameThick=70;SingleFrameIntensity=40;"
                      "SingleFrameCorner=0;SingleFrameColor=8092539;");

    Choose(dialog, 2);
    auto* twin = dynamic_cast<CDoubleFramePanel*>(dialog->Panel());
    ASSERT_NE(twin, nullptr);
    EXPECT_FALSE(single->isVisibleTo(dialog));
    EXPECT_EQ(Text(), "NameOfTheFrame=DoubleFrameName;OuterFrameThick=23;InnerFrameThick=18;"
                      "DblFrameIntensity=55;DblFrameColor=16711680;");
    // The single frame's panel kept its values while hidden.
    Choose(dialog, 1);
    EXPECT_EQ(dialog->Panel(), single);
    EXPECT_EQ(single->Thickness()->value(), 70);
}

TEST_F(FrameDialog, ATextInOtherLetterCaseSelectsItsTypeAndLoadsThePresentKeys)
{
    auto* dialog = Open();
    filter->SetFormat(u"NameOfTheFrame:singleFRAMEname\nSingleFrameIntensity:90\nSingleFrameColor:255\n");
    PumpPostedEvents();
    EXPECT_EQ(dialog->TypeList()->currentIndex(), 1);
    auto* single = dynamic_cast<CSingleFramePanel*>(dialog->Panel());
    ASSERT_NE(single, nullptr);
    EXPECT_EQ(single->Intensity()->value(), 90);
    EXPECT_EQ(single->Color()->Color(), 255u);
    EXPECT_EQ(single->Thickness()->value(), 25);  // missing: the start value stays
    EXPECT_TRUE(single->Corner()->isChecked());
}

TEST_F(FrameDialog, TheFadingFramesCopyButtonsWriteOnlyWhenAColourChanges)
{
    auto* dialog = Open();
    auto* fade = dynamic_cast<CFadingFramePanel*>(dialog->Panel());
    ASSERT_NE(fade, nullptr);
    fade->HorizontalToVertical()->click();
    PumpPostedEvents();
    EXPECT_EQ(fade->Vertical()->Color(), 0x78FF8Eu);
    EXPECT_NE(Text().find("FadeFrameVerCol=7929742;"), std::string::npos);
    const int changes = site->ChangeCount();
    fade->VerticalToHorizontal()->click();  // both already the same: nothing to write
    PumpPostedEvents();
    EXPECT_EQ(site->ChangeCount(), changes);
    fade->Steps()->setValue(4);
    fade->Angle()->setValue(98);
    PumpPostedEvents();
    EXPECT_NE(Text().find("FadeFrameSteps=4;FadeFrameAngle=98;"), std::string::npos);
    EXPECT_GT(site->ChangeCount(), changes);
}
