// The resize dialog driven as a host and a user drive it: a real dialog under a
// parent widget, typed keys and chosen list items, posted messages pumped, and the
// parameter text and summary read back. Expected numbers are worked from the rules.

#include "tests/FilterDialogTest.h"

#include "Common/base/FilterFormat.h"
#include "Common/base/InteractiveInterfaces.h"
#include "Common/params/ParamList.h"
#include "filters/resize/ResizeDialog.h"
#include "Common/dialogs/NumericEdit.h"
#include "filters/resize/ResizeFactory.h"
#include "platform/DialogMessage.h"
#include "plugin/ModuleFactories.h"
#include "refhost/PluginHost.h"
#include "refhost/PreviewSite.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLocale>

#include <gtest/gtest.h>

namespace {

constexpr int kPixel = 0;
constexpr int kInch = 1;
constexpr int kCentimetre = 2;
constexpr int kPercent = 3;
const QString kBadParameters = QStringLiteral("Bad image parameters. Image cannot be resized.");

void Type(QWidget* edit, const QString& characters)
{
    for (QChar c : characters) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QCoreApplication::sendEvent(edit, &press);
    }
}

void Choose(QComboBox* list, int value)
{
    const int index = list->findData(value);
    ASSERT_GE(index, 0);
    list->setCurrentIndex(index);
}

// An 800 x 600 picture at 300 dots per inch, its resize filter, a site that only
// counts, and the filter's dialog. The process-wide factory gets a host of its own
// for each test.
class ResizeDialog : public FilterDialogTest {
protected:
    void SetUp() override
    {
        auto host = CComPtr<IPluginHost>::Adopt(CPluginHost::Create(0x0409));
        FactoryOf<CInteractiveResizeFactory>().Initialize(host.Get(), 0);
        auto picture = MakeImage(800, 600, DistinctPixel);
        picture->SetResolution(300, 300);
        MakeFilter(FactoryOf<CInteractiveResizeFactory>(), picture, false);
    }

    void TearDown() override
    {
        FilterDialogTest::TearDown();
        FactoryOf<CInteractiveResizeFactory>().Uninitialize(0);
        QLocale::setDefault(previousLocale);
    }

    // Opened, its first store delivered.
    CDlgInteractiveResize* Open()
    {
        dialog = OpenDialogOf<CDlgInteractiveResize>();
        PumpPostedEvents();
        return dialog;
    }

    int StoredInt(const char16_t* key) const
    {
        int value = -999;
        EXPECT_TRUE(Stored().GetInt(key, value)) << NarrowToUtf8(key);
        return value;
    }

    // A user replacing a field's whole text.
    void Enter(CNumericEdit* edit, const QString& text)
    {
        edit->setText(text);
        PumpPostedEvents();
    }

    std::vector<QString> Fields() const
    {
        return {dialog->WidthEdit()->text(), dialog->HeightEdit()->text(), dialog->ResolutionXEdit()->text(),
                dialog->ResolutionYEdit()->text()};
    }

    const QLocale previousLocale;
    CDlgInteractiveResize* dialog = nullptr;
};

using FieldTexts = std::vector<QString>;

}  // namespace

TEST_F(ResizeDialog, OpensOnTheSourceAndStoresAllTenKeys)
{
    Open();
    EXPECT_EQ(Fields(), (FieldTexts{"800", "600", "300", "300"}));
    EXPECT_EQ(dialog->WidthUnitList()->currentText(), "Pixel");
    EXPECT_EQ(dialog->HeightUnitList()->count(), 4);
    EXPECT_EQ(dialog->HeightUnitList()->itemText(3), "Percent");
    EXPECT_EQ(dialog->MethodList()->currentIndex(), 3);
    EXPECT_EQ(dialog->MethodList()->currentText(), "Bicubic (Mitchell-Netravali)");
    EXPECT_TRUE(dialog->ConstrainBox()->isChecked());
    EXPECT_TRUE(dialog->ResampleBox()->isChecked());
    // 800 x 600 x 4 bytes = 1.83 MB, in a field five wide.
    EXPECT_EQ(dialog->Summary()->text(), "Original image size: 800 x 600 pixels at 300 x 300 dpi. New image size: "
                                         "800 x 600 pixels at 300 x 300 dpi ( 1.83 MB).");
    EXPECT_EQ(site->ChangeCount(), 1);
    EXPECT_EQ(ReadFilterFormat(filter.Get()),
              u"ResizerWidth:800\nResizerHeight:600\nResizerWidthInUnit:800.000000\nResizerHeightInUnit:600.000000\n"
              u"ResizerHorUnit:0\nResizerVerUnit:0\nResizerResolutionX:300\nResizerResolutionY:300\nResizerMode:4\n"
              u"ResizerConstrainProportions:1\n");
}

TEST_F(ResizeDialog, TenCentimetresAt300DpiAreOneThousandOneHundredAndEightyOnePixels)
{
    Open();
    Choose(dialog->WidthUnitList(), kCentimetre);
    PumpPostedEvents();
    EXPECT_EQ(dialog->WidthEdit()->text(), "6.7733") << "800 / 300 x 2.54";
    const int changes = site->ChangeCount();
    EXPECT_EQ(changes, 1) << "a unit change stores nothing";
    Enter(dialog->WidthEdit(), "10");
    // 300 x 10 / 2.54 = 1181.1; the height follows: 1181 / (800 / 600) = 885.75, rounded.
    EXPECT_EQ(StoredInt(u"ResizerWidth"), 1181);
    EXPECT_EQ(StoredInt(u"ResizerHeight"), 886);
    EXPECT_EQ(dialog->HeightEdit()->text(), "886");
    EXPECT_EQ(dialog->WidthEdit()->text(), "10");
    EXPECT_EQ(site->ChangeCount(), changes + 1);
    // 1181 x 886 x 4 / 1048576 = 3.99
    EXPECT_EQ(dialog->Summary()->text(), "Original image size: 800 x 600 pixels at 300 x 300 dpi. New image size: "
                                         "1181 x 886 pixels at 300 x 300 dpi ( 3.99 MB).");
}

TEST_F(ResizeDialog, SwitchingToPercentAndBackKeepsThePixels)
{
    Open();
    dialog->ConstrainBox()->click();
    Enter(dialog->WidthEdit(), "1000");
    Choose(dialog->WidthUnitList(), kPercent);
    EXPECT_EQ(dialog->WidthEdit()->text(), "125");
    Choose(dialog->WidthUnitList(), kInch);
    EXPECT_EQ(dialog->WidthEdit()->text(), "3.3333");
    Choose(dialog->WidthUnitList(), kPixel);
    EXPECT_EQ(dialog->WidthEdit()->text(), "1000");
    EXPECT_EQ(dialog->HeightEdit()->text(), "600");
}

TEST_F(ResizeDialog, InvalidSettingsAreShownAndNeverStored)
{
    Open();
    dialog->ConstrainBox()->click();
    PumpPostedEvents();
    const struct {
        int field;
        const char* text;
        bool valid;
    } entries[] = {
        {0, "9", false},  {0, "10", true}, {0, "32001", false}, {0, "32000", true}, {1, "9.4", false},
        {1, "9.5", true}, {2, "1", false}, {2, "1.5", true},    {3, "0.5", false},  {3, "300", true},
    };
    for (const auto& entry : entries) {
        CNumericEdit* edits[] = {dialog->WidthEdit(), dialog->HeightEdit(), dialog->ResolutionXEdit(),
                                 dialog->ResolutionYEdit()};
        const WString before = ReadFilterFormat(filter.Get());
        const int changes = site->ChangeCount();
        Enter(edits[entry.field], entry.text);
        EXPECT_EQ(dialog->Summary()->text() == kBadParameters, !entry.valid) << entry.text;
        if (entry.valid) {
            EXPECT_EQ(site->ChangeCount(), changes + 1) << entry.text;
        } else {
            EXPECT_EQ(site->ChangeCount(), changes) << entry.text;
            EXPECT_EQ(ReadFilterFormat(filter.Get()), before) << "the last valid settings stay: " << entry.text;
        }
    }
    EXPECT_EQ(StoredInt(u"ResizerWidth"), 32000);
    EXPECT_EQ(StoredInt(u"ResizerHeight"), 10);
    EXPECT_EQ(StoredInt(u"ResizerResolutionX"), 2) << "1.5 + 0.5, truncated";
}

TEST_F(ResizeDialog, TypingTakesDigitsAndOnePoint)
{
    Open();
    CNumericEdit* edit = dialog->ResolutionXEdit();
    edit->clear();
    Type(edit, "1,5a.x 2");
    EXPECT_EQ(edit->text(), "1.52") << "',' enters '.', a second point and letters are dropped";
    edit->selectAll();
    Type(edit, ".7");
    EXPECT_EQ(edit->text(), ".7") << "a point inside the replaced selection does not count";
    PumpPostedEvents();
}

TEST_F(ResizeDialog, FieldsShowTheLocaleSeparatorAndReadItBack)
{
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    Open();
    Choose(dialog->WidthUnitList(), kInch);
    EXPECT_EQ(dialog->WidthEdit()->text(), "2,6667");
    Enter(dialog->WidthEdit(), "2,5");
    EXPECT_EQ(StoredInt(u"ResizerWidth"), 750);
    EXPECT_EQ(dialog->HeightEdit()->text(), "563") << "750 x 600 / 800 = 562.5, rounded";
}

TEST_F(ResizeDialog, ProportionsFollowTheEditedSide)
{
    Open();
    Enter(dialog->HeightEdit(), "300");
    EXPECT_EQ(dialog->WidthEdit()->text(), "400");
    dialog->ConstrainBox()->click();
    PumpPostedEvents();
    EXPECT_EQ(StoredInt(u"ResizerConstrainProportions"), 0);
    Enter(dialog->WidthEdit(), "123");
    EXPECT_EQ(dialog->HeightEdit()->text(), "300") << "free proportions";
    dialog->ConstrainBox()->click();
    PumpPostedEvents();
    EXPECT_EQ(dialog->HeightEdit()->text(), "92") << "123 x 3 / 4 = 92.25";
    EXPECT_EQ(StoredInt(u"ResizerHeight"), 92);
    EXPECT_EQ(StoredInt(u"ResizerConstrainProportions"), 1);
}

TEST_F(ResizeDialog, ResamplingKeepsThePrintedSizeWhenTheResolutionChanges)
{
    Open();
    Enter(dialog->ResolutionXEdit(), "150");
    EXPECT_EQ(Fields(), (FieldTexts{"400", "300", "150", "150"}));
    EXPECT_EQ(StoredInt(u"ResizerWidth"), 400);
    EXPECT_EQ(StoredInt(u"ResizerResolutionY"), 150);
    // The new size scales from what was stored: 400 / 150 x 225 = 600.
    Enter(dialog->ResolutionYEdit(), "225");
    EXPECT_EQ(Fields(), (FieldTexts{"600", "450", "225", "225"}));
}

TEST_F(ResizeDialog, WithoutResamplingOnlyTheResolutionChanges)
{
    Open();
    Choose(dialog->WidthUnitList(), kCentimetre);
    Enter(dialog->WidthEdit(), "10");
    dialog->ResampleBox()->click();
    PumpPostedEvents();
    EXPECT_EQ(dialog->WidthUnitList()->currentData().toInt(), kPixel);
    EXPECT_EQ(Fields(), (FieldTexts{"800", "600", "300", "300"}));
    for (QWidget* control :
         {static_cast<QWidget*>(dialog->WidthEdit()), static_cast<QWidget*>(dialog->HeightEdit()),
          static_cast<QWidget*>(dialog->WidthUnitList()), static_cast<QWidget*>(dialog->HeightUnitList()),
          static_cast<QWidget*>(dialog->MethodList())}) {
        EXPECT_FALSE(control->isEnabled());
    }
    EXPECT_TRUE(dialog->ResolutionXEdit()->isEnabled());
    Enter(dialog->ResolutionXEdit(), "72");
    EXPECT_EQ(Fields(), (FieldTexts{"800", "600", "72", "72"}));
    EXPECT_EQ(StoredInt(u"ResizerMode"), 0);
    EXPECT_EQ(StoredInt(u"ResizerWidth"), 800);
    EXPECT_EQ(StoredInt(u"ResizerResolutionX"), 72);

    dialog->ResampleBox()->click();
    Choose(dialog->MethodList(), 5);
    PumpPostedEvents();
    EXPECT_TRUE(dialog->WidthEdit()->isEnabled());
    EXPECT_EQ(StoredInt(u"ResizerMode"), 5);
}

TEST_F(ResizeDialog, AnUnreadableFieldChangesNothing)
{
    Open();
    const int changes = site->ChangeCount();
    Enter(dialog->WidthEdit(), ".");
    Enter(dialog->WidthEdit(), "");
    EXPECT_EQ(dialog->HeightEdit()->text(), "600");
    EXPECT_EQ(site->ChangeCount(), changes);
}

TEST_F(ResizeDialog, ReloadRepairsTheKeysAndStoresNothing)
{
    Open();
    const int changes = site->ChangeCount();
    filter->SetFormat(u"ResizerMode:0\nResizerWidth:500\nResizerHeight:400\nResizerResolutionX:72\n"
                      u"ResizerResolutionY:0\nResizerWidthInUnit:5.5\nResizerHeightInUnit:-3\nResizerHorUnit:1\n"
                      u"ResizerVerUnit:9\nResizerConstrainProportions:7\n");
    PumpPostedEvents();
    EXPECT_EQ(Fields(), (FieldTexts{"5.5", "0", "72", "1"}));
    EXPECT_EQ(dialog->WidthUnitList()->currentData().toInt(), kInch);
    EXPECT_EQ(dialog->HeightUnitList()->currentData().toInt(), kPixel);
    EXPECT_FALSE(dialog->ResampleBox()->isChecked());
    EXPECT_EQ(dialog->MethodList()->currentData().toInt(), 4);
    EXPECT_TRUE(dialog->ConstrainBox()->isChecked());
    EXPECT_EQ(dialog->Summary()->text(), kBadParameters);
    EXPECT_EQ(site->ChangeCount(), changes);

    filter->SetFormat(u"ResizerMode:9\nResizerWidth:640\nResizerHeight:480\n");
    PumpPostedEvents();
    EXPECT_TRUE(dialog->ResampleBox()->isChecked());
    EXPECT_EQ(dialog->MethodList()->currentData().toInt(), 4);
    EXPECT_EQ(Fields(), (FieldTexts{"2.1333", "480", "300", "300"})) << "640 pixels at 300 dpi in inches";
}

TEST_F(ResizeDialog, AFieldKeepsATextThatShowsTheSameNumber)
{
    Open();
    {
        const QSignalBlocker quiet(dialog->WidthEdit());
        dialog->WidthEdit()->setText("800.00");
    }
    filter->SetFormat(u"ResizerWidthInUnit:800\nResizerHeightInUnit:2.5\n");
    PumpPostedEvents();
    EXPECT_EQ(dialog->WidthEdit()->text(), "800.00");
    EXPECT_EQ(dialog->HeightEdit()->text(), "2.5");
}

TEST_F(ResizeDialog, ThePreviewShowsTheStoredSize)
{
    auto preview = MakeImage(40, 30, DistinctPixel);
    site = CComPtr<CPreviewSite>::Adopt(CPreviewSite::Create(static_cast<IImage*>(preview.Get())));
    site->Attach(filter.Get());
    filter->SetPreviewSite(site.Get());
    Open();
    Enter(dialog->WidthEdit(), "20");
    ASSERT_NE(site->LastResult(), nullptr);
    EXPECT_EQ(SizeOf(site->LastResult()), std::pair(20, 15));
    site->Attach(nullptr);
}

TEST(NumericEdit, ShowsFourDecimalsAtMostWithoutTrailingZeros)
{
    const struct {
        double value;
        const char* separator;
        const char* shown;
    } cases[] = {{2.5, ".", "2.5"},   {300.0, ".", "300"}, {1181.10236, ".", "1181.1024"},
                 {0.00004, ".", "0"}, {2.5, ",", "2,5"},   {1000.0, ",", "1000"},
                 {0.1, ",", "0,1"}};
    for (const auto& c : cases) {
        CNumericEdit edit(nullptr, QString::fromLatin1(c.separator));
        edit.ShowValue(c.value);
        EXPECT_EQ(edit.text(), c.shown) << c.value;
        double read = -1.0;
        ASSERT_TRUE(edit.ReadValue(read));
        EXPECT_NEAR(read, c.value, 0.00005);
    }
    EXPECT_EQ(CNumericEdit::Trimmed("120.0500  "), "120.05");
    EXPECT_EQ(CNumericEdit::Trimmed("300"), "300");
    EXPECT_EQ(CNumericEdit::Trimmed("7,"), "7");
}
