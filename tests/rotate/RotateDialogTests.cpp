// The free rotation's dialog driven as a user and a host drive it, under the
// offscreen platform: the quick buttons, typing an angle, the dial, the background
// colour, the crop type, the automatic angle, what each stores and what a text set
// from outside shows.

#include "tests/FilterDialogTest.h"
#include "tests/GermanNumbers.h"
#include "tests/TestSupport.h"
#include "tests/shared/straightening/KnownTilts.h"

#include "Common/base/FilterFormat.h"
#include "Common/dialogs/ColorButton.h"
#include "filters/flip-rotate/Rot0DegreesFactory.h"
#include "filters/flip-rotate/Rot180Factory.h"
#include "filters/flip-rotate/Rot90ClockWiseFactory.h"
#include "filters/flip-rotate/Rot90CounterClockWiseFactory.h"
#include "filters/rotate/RotateDialog.h"
#include "filters/rotate/RotateFactory.h"
#include "filters/rotate/VisualAngleCtrl.h"
#include "refhost/PluginHost.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <array>
#include <clocale>
#include <cstdlib>
#include <string>

namespace {

using Dialog = CInteractiveRotateDlg;

std::array<CFilterFactoryBase*, 5> Factories()
{
    return {&FactoryOf<CInteractiveRotateFactory>(), &FactoryOf<CRot0DegreesFactory>(),
            &FactoryOf<CRot90CounterClockWiseFactory>(), &FactoryOf<CRot180Factory>(),
            &FactoryOf<CRot90ClockWiseFactory>()};
}

// Each character as a key press, as typing does; with replace, over the whole text.
void Type(QLineEdit* edit, const QString& text, bool replace = true)
{
    if (replace) edit->selectAll();
    for (const QChar character : text) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(character));
        QCoreApplication::sendEvent(edit, &press);
    }
}

void PressAt(QWidget* widget, QPoint point)
{
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(point), widget->mapToGlobal(QPointF(point)), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &press);
}

// What the angle controls show.
struct Shown {
    int choice;
    std::string text;
    int dial;
    bool operator==(const Shown&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Shown& shown)
{
    return out << "choice " << shown.choice << ", text \"" << shown.text << "\", dial " << shown.dial;
}

Shown ShownBy(Dialog* dialog)
{
    return {dialog->Choices()->checkedId(), dialog->AngleEdit()->text().toStdString(), dialog->Dial()->Angle()};
}

class RotateDialog : public FilterDialogTest {
protected:
    void SetUp() override
    {
        for (CFilterFactoryBase* factory : Factories()) factory->Initialize(host.Get(), 0);
        MakeFilter(FactoryOf<CInteractiveRotateFactory>(), MakeImage(40, 30, DistinctPixel));
    }

    void TearDown() override
    {
        FilterDialogTest::TearDown();
        for (CFilterFactoryBase* factory : Factories()) factory->Uninitialize(0);
    }

    // The dialog with its first store delivered.
    Dialog* Open()
    {
        auto* dialog = OpenDialogOf<Dialog>();
        PumpPostedEvents();
        return dialog;
    }

    double StoredAngle() const
    {
        double angle = -1000.0;
        EXPECT_TRUE(Stored().GetDouble(u"angle", angle));
        return angle;
    }

    int StoredInt(const char16_t* key) const
    {
        int value = -1;
        EXPECT_TRUE(Stored().GetInt(key, value)) << NarrowToUtf8(key);
        return value;
    }

    // The controls show the settings, and the text holds them.
    void ExpectSettings(Dialog* dialog, const Shown& shown, uint32_t background, int cropType) const
    {
        EXPECT_EQ(ShownBy(dialog), shown);
        EXPECT_EQ(dialog->Background()->Color(), background);
        EXPECT_EQ(dialog->CropTypes()->currentIndex(), cropType);
        EXPECT_EQ(StoredAngle(), shown.dial);
        EXPECT_EQ(StoredInt(u"colorBkgnd"), static_cast<int>(background));
        EXPECT_EQ(StoredInt(u"croptype"), cropType);
    }

    // The preview's last picture size.
    std::pair<int, int> PreviewSize() const
    {
        return site->LastResult() != nullptr ? SizeOf(site->LastResult()) : std::pair(0, 0);
    }

    CComPtr<IPluginHost> host = CComPtr<IPluginHost>::Adopt(CPluginHost::Create(0x0409));
};

} // namespace

// ---------------------------------------------------------------- opening

TEST_F(RotateDialog, OpensWithTheLineToolAndStoresItsStart)
{
    Dialog* dialog = Open();
    // The filter then reads the preview's line, which finds none, and clears it.
    EXPECT_EQ(site->ToolModes(), (std::vector<std::pair<int, int>>{{0, 3}, {1, 0}}));
    ExpectSettings(dialog, {Dialog::kNoRotation, "0", 0}, 0, 0);
    EXPECT_EQ(site->ChangeCount(), 1);
    EXPECT_EQ(PreviewSize(), std::make_pair(40, 30));
}

TEST_F(RotateDialog, OpensWithTheSettingsTheFilterHas)
{
    filter->SetFormat(u"angle:270\ncolorBkgnd:65280\ncroptype:2\n");
    Dialog* dialog = Open();
    ExpectSettings(dialog, {Dialog::kRight90, "270", 270}, 0x00FF00u, 2);
    EXPECT_EQ(PreviewSize(), std::make_pair(30, 40));
}

// The dial shows the angle rounded half up: trunc(33.25 + 0.5) = 33, trunc(33.5 + 0.5) = 34.
TEST_F(RotateDialog, ACustomAngleShowsRoundedOnTheDial)
{
    filter->SetFormat(u"angle:33.25\n");
    Dialog* dialog = Open();
    EXPECT_EQ(ShownBy(dialog), (Shown{Dialog::kCustom, "33.25", 33}));
    filter->SetFormat(u"angle:33.5\n");
    PumpPostedEvents();
    EXPECT_EQ(ShownBy(dialog), (Shown{Dialog::kCustom, "33.5", 34}));
}

// ---------------------------------------------------------------- the angle

TEST_F(RotateDialog, QuickButtonsSetTheirAnglesAndStore)
{
    Dialog* dialog = Open();
    struct Case {
        int choice;
        double angle;
        std::pair<int, int> preview;
    };
    for (const Case& c : {Case{Dialog::kLeft90, 90, {30, 40}}, Case{Dialog::kHalfTurn, 180, {40, 30}},
                          Case{Dialog::kRight90, 270, {30, 40}}, Case{Dialog::kNoRotation, 0, {40, 30}}}) {
        SCOPED_TRACE(c.angle);
        const int changes = site->ChangeCount();
        dialog->Choices()->button(c.choice)->click();
        PumpPostedEvents();
        EXPECT_EQ(dialog->Angle(), c.angle);
        const int whole = static_cast<int>(c.angle);
        EXPECT_EQ(ShownBy(dialog), (Shown{c.choice, std::to_string(whole), whole}));
        EXPECT_EQ(StoredAngle(), c.angle);
        EXPECT_EQ(site->ChangeCount(), changes + 1);
        EXPECT_EQ(PreviewSize(), c.preview);
    }

    Type(dialog->AngleEdit(), QStringLiteral("33"));
    dialog->Choices()->button(Dialog::kCustom)->click();
    PumpPostedEvents();
    EXPECT_EQ(dialog->Angle(), 33.0) << "the custom button keeps the angle";
    EXPECT_EQ(ShownBy(dialog), (Shown{Dialog::kCustom, "33", 33}));
    EXPECT_EQ(StoredAngle(), 33.0);
}

// A typed angle is read as it stands, brought into one turn by a single step: above
// 360 loses 360 once, 360 is 0, below 0 gains 360 once. The dial shows
// trunc(angle + 0.5), and the quick buttons follow.
TEST_F(RotateDialog, TypedAnglesAreBroughtIntoOneTurnOnce)
{
    Dialog* dialog = Open();
    struct Case {
        const char* typed;
        double angle;
        int choice;
        int dial;
    };
    const Case cases[] = {
        {"12.5", 12.5, Dialog::kCustom, 13},      {"12,5", 12.5, Dialog::kCustom, 13},
        {"400", 40, Dialog::kCustom, 40},         {"360", 0, Dialog::kNoRotation, 0},
        {"720", 0, Dialog::kNoRotation, 0},       {"-30", 330, Dialog::kCustom, 330},
        {"-400", -40, Dialog::kCustom, -39},      {"90", 90, Dialog::kLeft90, 90},
        {"450", 90, Dialog::kLeft90, 90},         {"180", 180, Dialog::kHalfTurn, 180},
        {"-90", 270, Dialog::kRight90, 270},      {"0.4", 0.4, Dialog::kCustom, 0},
        {"359.6", 359.6, Dialog::kCustom, 0},     {"90.001", 90.001, Dialog::kCustom, 90},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        Type(dialog->AngleEdit(), QString::fromLatin1(c.typed));
        PumpPostedEvents();
        EXPECT_DOUBLE_EQ(dialog->Angle(), c.angle);
        EXPECT_EQ(dialog->Choices()->checkedId(), c.choice);
        EXPECT_EQ(dialog->Dial()->Angle(), c.dial);
        EXPECT_DOUBLE_EQ(StoredAngle(), c.angle);
        EXPECT_EQ(dialog->AngleEdit()->text(), QString::fromLatin1(c.typed)) << "the typed text stays";
    }
}

// Qt hands the C library the user's locale, in which a German reader takes "12.5" as
// 12; the edit reads its number as it is written, in any locale.
TEST_F(RotateDialog, TypedAnglesReadAlikeInEveryLocale)
{
    const CGermanNumbers german;
    if (!german.Active()) GTEST_SKIP() << "no German locale could be had";
    Dialog* dialog = Open();
    for (const char* typed : {"12.5", "12,5", "-0.75"}) {
        SCOPED_TRACE(typed);
        Type(dialog->AngleEdit(), QString::fromLatin1(typed));
        EXPECT_DOUBLE_EQ(dialog->Angle(), typed[0] == '-' ? 359.25 : 12.5);
        EXPECT_EQ(dialog->Dial()->Angle(), typed[0] == '-' ? 359 : 13);
        PumpPostedEvents();
    }
}

// "12." is still being typed: nothing changes until the next character.
TEST_F(RotateDialog, ATextEndingInADecimalPointWaitsForTheNextCharacter)
{
    Dialog* dialog = Open();
    for (const char* separator : {".", ","}) {
        SCOPED_TRACE(separator);
        dialog->Choices()->button(Dialog::kLeft90)->click();
        PumpPostedEvents();
        const int changes = site->ChangeCount();
        dialog->AngleEdit()->setText(QStringLiteral("12"));
        Type(dialog->AngleEdit(), QString::fromLatin1(separator), false);
        PumpPostedEvents();
        EXPECT_EQ(dialog->AngleEdit()->text(), QStringLiteral("12") + QString::fromLatin1(separator));
        EXPECT_EQ(dialog->Angle(), 90.0);
        EXPECT_EQ(dialog->Choices()->checkedId(), Dialog::kLeft90);
        EXPECT_EQ(StoredAngle(), 90.0);
        EXPECT_EQ(site->ChangeCount(), changes);

        Type(dialog->AngleEdit(), QStringLiteral("75"), false);
        PumpPostedEvents();
        EXPECT_DOUBLE_EQ(dialog->Angle(), 12.75);
        EXPECT_EQ(ShownBy(dialog).dial, 13);
        EXPECT_DOUBLE_EQ(StoredAngle(), 12.75);
    }
}

// The dial's hand points at a click: left of the centre is 90, up and left 45.
TEST_F(RotateDialog, TheDialSetsItsWholeDegrees)
{
    Dialog* dialog = Open();
    const QPoint centre(dialog->Dial()->width() / 2, dialog->Dial()->height() / 2);
    PressAt(dialog->Dial(), centre + QPoint(-25, 0));
    PumpPostedEvents();
    EXPECT_EQ(dialog->Angle(), 90.0);
    EXPECT_EQ(ShownBy(dialog), (Shown{Dialog::kLeft90, "90", 90}));
    EXPECT_EQ(StoredAngle(), 90.0);

    PressAt(dialog->Dial(), centre + QPoint(-12, -12));
    PumpPostedEvents();
    EXPECT_EQ(ShownBy(dialog), (Shown{Dialog::kCustom, "45", 45}));
    EXPECT_EQ(StoredAngle(), 45.0);

    PressAt(dialog->Dial(), centre + QPoint(25, 0));
    PumpPostedEvents();
    EXPECT_EQ(ShownBy(dialog), (Shown{Dialog::kRight90, "270", 270}));
    EXPECT_EQ(StoredAngle(), 270.0);
}

// ---------------------------------------------------------------- background and crop

// A picked colour is stored as its colour value and reaches the preview's corners
// with red and blue traded.
TEST_F(RotateDialog, APickedBackgroundIsStoredAndShownInTheCorners)
{
    Dialog* dialog = Open();
    Type(dialog->AngleEdit(), QStringLiteral("45"));
    PumpPostedEvents();
    dialog->Background()->SetChooser([](uint32_t, QWidget*) { return std::optional<uint32_t>(0x00123456u); });
    dialog->Background()->click();
    PumpPostedEvents();
    EXPECT_EQ(StoredInt(u"colorBkgnd"), 0x123456);
    ASSERT_NE(site->LastResult(), nullptr);
    EXPECT_EQ(static_cast<CHostImage*>(site->LastResult())->Row(0)[0], 0x00563412u);

    const int changes = site->ChangeCount();
    dialog->Background()->SetChooser([](uint32_t, QWidget*) { return std::optional<uint32_t>(); });
    dialog->Background()->click();
    PumpPostedEvents();
    EXPECT_EQ(site->ChangeCount(), changes) << "a cancelled choice stores nothing";
    EXPECT_EQ(StoredInt(u"colorBkgnd"), 0x123456);
}

// 40 x 30 at 20 degrees keeping the whole picture: (0, 29), (39, 29), (39, 0) turn
// to (-9.92, 27.25), (26.73, 40.59), (36.65, 13.34), so x runs from -10 to 37 and y
// from 0 to 41: 48 x 42. Inside, half sizes x = 4y/3 must keep x c + y s <= 20 and
// x s + y c <= 15: y <= 15 / 1.3957 = 10.75, x = 14.33, so 14 x 10 (squared half
// diagonal 296); swapped, x = 3y/4: y <= 15 / 1.1962 = 12.54, x = 9.40, so 9 x 12
// (225). The crop is 29 x 21; scaled back it is the source's 40 x 30.
TEST_F(RotateDialog, TheCropTypeFollowsTheList)
{
    Dialog* dialog = Open();
    Type(dialog->AngleEdit(), QStringLiteral("20"));
    PumpPostedEvents();
    EXPECT_EQ(PreviewSize(), std::make_pair(48, 42));
    QKeyEvent down(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
    QCoreApplication::sendEvent(dialog->CropTypes(), &down);
    PumpPostedEvents();
    EXPECT_EQ(dialog->CropTypes()->currentIndex(), 1);
    EXPECT_EQ(StoredInt(u"croptype"), 1);
    EXPECT_EQ(PreviewSize(), std::make_pair(29, 21));
    QCoreApplication::sendEvent(dialog->CropTypes(), &down);
    PumpPostedEvents();
    EXPECT_EQ(StoredInt(u"croptype"), 2);
    EXPECT_EQ(PreviewSize(), std::make_pair(40, 30));
}

// ---------------------------------------------------------------- reload and resizing

// A text set from outside shows in every control and is not stored back; a text
// without a key leaves its control alone.
TEST_F(RotateDialog, ATextSetFromOutsideShowsInTheControls)
{
    Dialog* dialog = Open();
    const int changes = site->ChangeCount();
    filter->SetFormat(u"angle:180\ncolorBkgnd:255\ncroptype:1\n");
    PumpPostedEvents();
    EXPECT_EQ(ShownBy(dialog), (Shown{Dialog::kHalfTurn, "180", 180}));
    EXPECT_EQ(dialog->Background()->Color(), 255u);
    EXPECT_EQ(dialog->CropTypes()->currentIndex(), 1);
    EXPECT_EQ(site->ChangeCount(), changes);

    filter->SetFormat(u"croptype:2\n");
    PumpPostedEvents();
    EXPECT_EQ(dialog->CropTypes()->currentIndex(), 2);
    EXPECT_EQ(dialog->Angle(), 180.0);
    EXPECT_EQ(dialog->Background()->Color(), 255u);

    // The next store writes all three back.
    dialog->Choices()->button(Dialog::kLeft90)->click();
    PumpPostedEvents();
    EXPECT_EQ(StoredAngle(), 90.0);
    EXPECT_EQ(StoredInt(u"colorBkgnd"), 255);
    EXPECT_EQ(StoredInt(u"croptype"), 2);
}

TEST_F(RotateDialog, ANewLayoutTurnsTheLineToolOnAgain)
{
    Dialog* dialog = Open();
    const size_t before = site->ToolModes().size();
    parent.show();
    dialog->resize(dialog->width() + 40, dialog->height() + 30);
    ASSERT_GT(site->ToolModes().size(), before);
    EXPECT_EQ(site->ToolModes().back(), std::make_pair(3, 0));
    parent.hide();
}

// A line drawn on the preview turns the picture through the filter, and the dialog
// shows the new angle: (10, 10)-(110, 20) adds atan(0.1) = 5.7106 degrees.
TEST_F(RotateDialog, ALineDrawnOnThePreviewShowsInTheDialog)
{
    Dialog* dialog = Open();
    site->SelectByUser(u"10 10 110 20");
    filter->SelectionChanged();
    PumpPostedEvents();
    EXPECT_NEAR(dialog->Angle(), 5.7106, 1e-4);
    EXPECT_EQ(ShownBy(dialog).choice, Dialog::kCustom);
    EXPECT_EQ(ShownBy(dialog).dial, 6);
    EXPECT_EQ(site->ToolModes().back(), std::make_pair(1, 0));
}

// ---------------------------------------------------------------- the automatic angle

// Lines turned counter-clockwise by 3 degrees want a turn of -3, shown as 357; a
// clockwise tilt wants a positive turn.
TEST_F(RotateDialog, AutorotateTakesTheAutomaticAngleIntoOneTurn)
{
    for (const double degrees : {3.0, -3.0}) {
        SCOPED_TRACE(std::to_string(degrees) + " degrees");
        MakeFilter(FactoryOf<CInteractiveRotateFactory>(), TiltedLines(400, 300, LinePattern{.degrees = degrees}));
        Dialog* dialog = Open();
        const int changes = site->ChangeCount();
        dialog->Autorotate()->click();
        PumpPostedEvents();
        const double expected = degrees > 0 ? 360 - degrees : -degrees;
        EXPECT_NEAR(dialog->Angle(), expected, 0.1);
        EXPECT_EQ(ShownBy(dialog).choice, Dialog::kCustom);
        EXPECT_EQ(ShownBy(dialog).dial, static_cast<int>(expected + 0.5));
        EXPECT_NEAR(StoredAngle(), expected, 0.1);
        EXPECT_EQ(site->ChangeCount(), changes + 1);
        filter->DestroyDialog();
    }
}

TEST_F(RotateDialog, AutorotateWithoutATiltChangesNothing)
{
    MakeFilter(FactoryOf<CInteractiveRotateFactory>(), MakeImage(200, 150, [](int, int) { return GreyPixel(128); }));
    Dialog* dialog = Open();
    Type(dialog->AngleEdit(), QStringLiteral("33"));
    PumpPostedEvents();
    const int changes = site->ChangeCount();
    dialog->Autorotate()->click();
    PumpPostedEvents();
    EXPECT_EQ(ShownBy(dialog), (Shown{Dialog::kCustom, "33", 33}));
    EXPECT_EQ(StoredAngle(), 33.0);
    EXPECT_EQ(site->ChangeCount(), changes);
}
