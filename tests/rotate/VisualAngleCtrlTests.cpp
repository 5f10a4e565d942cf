// The angle dial: where a click or a drag puts the angle, what the parent is told,
// and what the dial shows. Angles are worked out from the directions: up is 0,
// left 90, down 180, right 270.

#include "tests/common/PostedMessages.h"

#include "filters/rotate/VisualAngleCtrl.h"

#include <QImage>
#include <QMouseEvent>

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace {

constexpr unsigned kDialMessage = 0x806B;

// A press (or a move with the left button held) at point.
void MouseAt(QWidget* widget, QEvent::Type type, QPoint point)
{
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, QPointF(point), widget->mapToGlobal(QPointF(point)), button, Qt::LeftButton,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &event);
}

class VisualAngleCtrl : public ::testing::Test {
protected:
    void SetUp() override { dial->resize(61, 61); }

    // The angle a press at (x, y) leaves; the centre is (30, 30).
    int PressedAt(int x, int y)
    {
        MouseAt(dial, QEvent::MouseButtonPress, {x, y});
        return dial->Angle();
    }

    CMessageRecordingParent parent;
    CVisualAngleCtrl* dial = new CVisualAngleCtrl(&parent);
};

uint32_t Rgb(QRgb pixel)
{
    return static_cast<uint32_t>(pixel) & 0xFFFFFFu;
}

} // namespace

TEST_F(VisualAngleCtrl, AClickPointsTheHandAtIt)
{
    EXPECT_EQ(PressedAt(5, 30), 90) << "straight left";
    EXPECT_EQ(PressedAt(55, 30), 270) << "straight right";
    EXPECT_EQ(PressedAt(30, 5), 0) << "straight up: a full turn, stored as 0";
    EXPECT_EQ(PressedAt(30, 55), 180) << "straight down";
    EXPECT_EQ(PressedAt(20, 20), 45) << "up and left";
    EXPECT_EQ(PressedAt(40, 40), 225) << "down and right";
    // acos(10 / sqrt(500)) = 63.43 degrees from up, on the left: truncated.
    EXPECT_EQ(PressedAt(10, 20), 63);
    // On the right the angle is counted the long way round: 360 - 63.43.
    EXPECT_EQ(PressedAt(50, 20), 296);
}

TEST_F(VisualAngleCtrl, EachClickAndDragTellsTheParent)
{
    PressedAt(5, 30);
    MouseAt(dial, QEvent::MouseMove, {30, 55});
    EXPECT_EQ(dial->Angle(), 180) << "dragging turns the hand";
    EXPECT_EQ(parent.Delivered(), (std::vector<unsigned>{kDialMessage, kDialMessage}));

    const int before = dial->Angle();
    PressedAt(30, 30);
    EXPECT_EQ(dial->Angle(), before) << "the centre has no direction";
    QMouseEvent hover(QEvent::MouseMove, QPointF(5, 30), dial->mapToGlobal(QPointF(5, 30)), Qt::NoButton,
                      Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(dial, &hover);
    EXPECT_EQ(dial->Angle(), before) << "moving without the button changes nothing";
    EXPECT_EQ(parent.Delivered().size(), 2u);
}

TEST_F(VisualAngleCtrl, SettingTheAngleKeepsItQuietAndTurns360To0)
{
    dial->SetAngle(360);
    EXPECT_EQ(dial->Angle(), 0);
    dial->SetAngle(137);
    EXPECT_EQ(dial->Angle(), 137);
    dial->SetAngle(-20);
    EXPECT_EQ(dial->Angle(), -20) << "only a full turn is folded";
    EXPECT_TRUE(parent.Delivered().empty());
}

// The disc's colour inside, the dialog's face outside, and a black hand ending
// where r = cy - 4 along the angle puts it: for 90 degrees, 26 pixels left of the
// centre; for 30 degrees, trunc(26 sin 30) = 12 left and trunc(26 cos 30) = 22 up.
TEST_F(VisualAngleCtrl, PaintsTheDiscAndTheHand)
{
    dial->SetAngle(90);
    QImage shown = dial->grab().toImage();
    EXPECT_EQ(Rgb(shown.pixel(30, 45)), 0xDCDCFFu) << "colour value 0x00FFDCDC is red DC, green DC, blue FF";
    EXPECT_EQ(Rgb(shown.pixel(0, 0)), Rgb(dial->palette().color(QPalette::Window).rgb()));
    // The small circle at the tip is filled with the disc's brush, like the disc.
    for (int x = 6; x <= 30; ++x) EXPECT_EQ(Rgb(shown.pixel(x, 30)), 0u) << "hand at x " << x;
    EXPECT_EQ(Rgb(shown.pixel(4, 30)), 0xDCDCFFu) << "inside the circle at the tip";
    EXPECT_EQ(Rgb(shown.pixel(30, 20)), 0xDCDCFFu) << "nothing points up";

    dial->SetAngle(30);
    shown = dial->grab().toImage();
    const int tipX = 30 - static_cast<int>(26 * std::sin(30 * std::numbers::pi / 180));
    const int tipY = 30 - static_cast<int>(26 * std::cos(30 * std::numbers::pi / 180));
    ASSERT_EQ(tipX, 18);
    ASSERT_EQ(tipY, 8);
    EXPECT_EQ(Rgb(shown.pixel(tipX, tipY - 2)), 0u) << "the small circle around the tip";
    EXPECT_EQ(Rgb(shown.pixel(tipX + 2, tipY)), 0u);
    EXPECT_EQ(Rgb(shown.pixel(4, 30)), 0xDCDCFFu) << "the hand left the 90 degree mark";
}
