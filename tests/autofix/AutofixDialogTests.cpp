// Autofix's dialog: four check boxes that start as the dialog's defaults, store
// into the filter's parameter text, and follow a text set from outside, where a
// missing key clears its box.

#include "tests/FilterDialogTest.h"
#include "tests/autofix/AutofixTestSupport.h"

#include "Common/base/FilterFormat.h"
#include "filters/autofix/AutofixDialog.h"
#include "plugin/SettingsInterfaces.h"

#include <QCheckBox>
#include <QLayout>

#include <gtest/gtest.h>

namespace {

class AutofixDialog : public FilterDialogTest {
protected:
    CDlgInteractiveAutofix* Open()
    {
        MakeFilter(FactoryOf<CInteractiveAutofixFactory>(), MakeImage(16, 12, DistinctPixel));
        return OpenDialogOf<CDlgInteractiveAutofix>();
    }

    // Colours, exposure, noise, rotation: the boxes top to bottom.
    static std::vector<bool> Boxes(const CDlgInteractiveAutofix* dialog)
    {
        return {dialog->ColorsBox()->isChecked(), dialog->ExposureBox()->isChecked(), dialog->NoiseBox()->isChecked(),
                dialog->RotationBox()->isChecked()};
    }

    static std::vector<QCheckBox*> BoxList(const CDlgInteractiveAutofix* dialog)
    {
        return {dialog->ColorsBox(), dialog->ExposureBox(), dialog->NoiseBox(), dialog->RotationBox()};
    }

    // The dialog at width, laid out as the host's resize would (it is never shown here).
    static void LayOut(CDlgInteractiveAutofix* dialog, int width)
    {
        dialog->resize(width, 200);
        dialog->layout()->invalidate();
        dialog->layout()->activate();
    }
};

} // namespace

TEST_F(AutofixDialog, StartsWithColoursAndExposureAndStoresThemWhenOpened)
{
    CDlgInteractiveAutofix* dialog = Open();
    EXPECT_EQ(Boxes(dialog), (std::vector<bool>{true, true, false, false}));
    EXPECT_EQ(dialog->ColorsBox()->text(), QStringLiteral("Autofix colors"));
    EXPECT_EQ(dialog->ExposureBox()->text(), QStringLiteral("Autofix exposure"));
    EXPECT_EQ(dialog->NoiseBox()->text(), QStringLiteral("Autofix noise"));
    EXPECT_EQ(dialog->RotationBox()->text(), QStringLiteral("Autofix rotation"));
    LayOut(dialog, 200);
    const std::vector<QCheckBox*> boxes = BoxList(dialog);
    for (size_t i = 1; i < boxes.size(); ++i) EXPECT_LT(boxes[i - 1]->y(), boxes[i]->y()) << "top to bottom";

    EXPECT_EQ(site->ChangeCount(), 0) << "the store is posted";
    PumpPostedEvents();
    EXPECT_EQ(Text(), u"AutofixColor:1\nAutofixExposure:1\nAutofixNoise:0\nAutofixRotate:0\n");
    EXPECT_EQ(site->ChangeCount(), 1);
}

TEST_F(AutofixDialog, AClickStoresAllFourKeysAndKeepsOthers)
{
    CDlgInteractiveAutofix* dialog = Open();
    PumpPostedEvents();
    filter->SetFormat(u"AutofixColor:1\nAutofixExposure:1\nAutofixNoise:0\nAutofixRotate:0\nOther:7\n");
    PumpPostedEvents();
    dialog->RotationBox()->click();
    dialog->ColorsBox()->click();
    PumpPostedEvents();
    EXPECT_EQ(Text(), u"AutofixColor:0\nAutofixExposure:1\nAutofixNoise:0\nAutofixRotate:1\nOther:7\n");
    EXPECT_GE(site->ChangeCount(), 2);
}

TEST_F(AutofixDialog, ATextFromOutsideSetsEveryBoxAndAMissingKeyClearsIt)
{
    CDlgInteractiveAutofix* dialog = Open();
    PumpPostedEvents();
    filter->SetFormat(u"AutofixNoise:1\nautofixrotate:5\nAutofixColor:0\n");
    PumpPostedEvents();
    EXPECT_EQ(Boxes(dialog), (std::vector<bool>{false, false, true, true})) << "exposure was missing";

    filter->SetFormat(u"");
    PumpPostedEvents();
    EXPECT_EQ(Boxes(dialog), (std::vector<bool>{false, false, true, true})) << "an empty text changes nothing";
}

// The remembered text a host hands over after the first store is what applies.
TEST_F(AutofixDialog, TheBoxesReloadedAreTheFixesApplied)
{
    CDlgInteractiveAutofix* dialog = Open();
    PumpPostedEvents();
    filter->SetFormat(u"AutofixColor:0\nAutofixExposure:0\n");
    PumpPostedEvents();
    EXPECT_EQ(Boxes(dialog), (std::vector<bool>{false, false, false, false}));
    CComPtr<IImage> result;
    ASSERT_TRUE(filter->Apply(nullptr, result.Receive(), nullptr, nullptr));
    EXPECT_EQ(PixelsOf(result.Get()), PixelsOf(static_cast<IImage*>(source.Get()))) << "no fix ran";
}

TEST_F(AutofixDialog, TheBoxesTakeTheDialogsWidthLessTheirMargins)
{
    CDlgInteractiveAutofix* dialog = Open();
    for (const int width : {240, 410}) {
        LayOut(dialog, width);
        for (QCheckBox* box : BoxList(dialog)) {
            EXPECT_EQ(box->x() * 2 + box->width(), width) << box->text().toStdString();
        }
    }
}

// The declaration the command line and the hosts read says what the dialog does.
TEST_F(AutofixDialog, TheDeclaredStartsAreTheDialogs)
{
    CDlgInteractiveAutofix* dialog = Open();
    const auto settings = CComPtr<IFilterSettings>::Query(
        static_cast<IFilterFactory*>(&FactoryOf<CInteractiveAutofixFactory>()), IID_IFilterSettings);
    ASSERT_TRUE(settings);
    ASSERT_EQ(settings->GetSettingCount(), 4);
    const std::vector<bool> boxes = Boxes(dialog);
    for (int i = 0; i < 4; ++i) {
        const SettingDeclaration* setting = settings->GetSetting(i);
        EXPECT_EQ(setting->type, SettingType::Flag);
        EXPECT_EQ(setting->start != 0, boxes[static_cast<size_t>(i)]) << NarrowToUtf8(setting->key);
    }
}
