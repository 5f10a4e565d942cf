// The slider rows of the dialogs: positions 0 to 100 mapped onto real ranges in
// either order of arithmetic, the labelled row that reports moves, and the number
// beside each slider.

#include "Common/dialogs/SliderRow.h"
#include "Common/dialogs/SliderScale.h"
#include "Common/dialogs/SliderValueBox.h"
#include "resources/StringIds.h"

#include <QLabel>
#include <QLineEdit>
#include <QSlider>
#include <QVBoxLayout>
#include <QWidget>

#include <gtest/gtest.h>

#include <limits>

namespace {

constexpr CSliderScale kBrightness(-100.0, 100.0, SliderArithmetic::ShareOfSpan, 25);
constexpr CSliderScale kContrast(0.0, 2.0, SliderArithmetic::ShareOfSpan, 25);
constexpr CSliderScale kThreshold(0.0, 100.0, SliderArithmetic::StepsFromMinimum, 10);
constexpr CSliderScale kSigma(0.01, 10.0, SliderArithmetic::StepsFromMinimum, 10);

constexpr double kInfinity = std::numeric_limits<double>::infinity();

} // namespace

TEST(SliderScale, WorkedPositionsAndValues)
{
    // Both defaults sit in the middle: (0 + 100) / 200 and (1 - 0) / 2 of 100, plus a half.
    EXPECT_EQ(kBrightness.PositionOf(0.0), 50);
    EXPECT_EQ(kContrast.PositionOf(1.0), 50);
    // 136 / 200 x 100 = 68, and 68.5 truncates to 68; 69 steps of 2 levels from -100.
    EXPECT_EQ(kBrightness.PositionOf(36.0), 68);
    EXPECT_DOUBLE_EQ(kBrightness.ValueAt(69), 38.0);
    EXPECT_DOUBLE_EQ(kContrast.ValueAt(51), 1.02);
    // 1 / 200 x 100 = 0.5, and a half rounds up.
    EXPECT_EQ(kBrightness.PositionOf(-99.0), 1);
    // Sharpen's start values: (2.5 - 0.01) / 9.99 x 100 = 24.92..., 8 of 100, 41.6 + 0.5.
    EXPECT_EQ(kSigma.PositionOf(2.5), 25);
    EXPECT_EQ(kThreshold.PositionOf(8.0), 8);
    EXPECT_EQ(kThreshold.PositionOf(41.6), 42);
    EXPECT_DOUBLE_EQ(kSigma.ValueAt(100), 10.0);
    EXPECT_DOUBLE_EQ(kSigma.ValueAt(0), 0.01);
}

TEST(SliderScale, KeepsPositionsAndValuesInRange)
{
    EXPECT_EQ(kBrightness.PositionOf(-1000.0), 0);
    EXPECT_EQ(kBrightness.PositionOf(1000.0), 100);
    EXPECT_DOUBLE_EQ(kBrightness.ValueAt(-5), -100.0);
    EXPECT_DOUBLE_EQ(kBrightness.ValueAt(250), 100.0);
    EXPECT_DOUBLE_EQ(kThreshold.ValueAt(101), 100.0);
    EXPECT_EQ(kContrast.PositionOf(kInfinity), 100);
    EXPECT_EQ(kContrast.PositionOf(-kInfinity), 0);
    // A NaN typed into a parameter text has no position; it must not reach the
    // conversion to int.
    for (const CSliderScale& scale : {kBrightness, kContrast, kThreshold, kSigma}) {
        EXPECT_EQ(scale.PositionOf(std::numeric_limits<double>::quiet_NaN()), 0);
    }
}

// 0.29 is stored as 0.28999999999999998; 100 times that rounds to
// 28.999999999999996, while 100 x 29 = 2900 and 2900 / 100 are exact. For the
// brightness, 200 x 0.28 rounds to 56.00000000000001 and leaves -43.99999999999999.
TEST(SliderScale, TheTwoOrdersOfArithmeticDifferInTheLastBits)
{
    constexpr CSliderScale thresholdAsShare(0.0, 100.0, SliderArithmetic::ShareOfSpan, 10);
    EXPECT_EQ(kThreshold.ValueAt(29), 29.0);
    EXPECT_LT(thresholdAsShare.ValueAt(29), 29.0);
    EXPECT_EQ(static_cast<int>(kThreshold.ValueAt(29)), 29);
    EXPECT_EQ(static_cast<int>(thresholdAsShare.ValueAt(29)), 28);

    constexpr CSliderScale brightnessAsSteps(-100.0, 100.0, SliderArithmetic::StepsFromMinimum, 25);
    EXPECT_EQ(brightnessAsSteps.ValueAt(28), -44.0);
    EXPECT_GT(kBrightness.ValueAt(28), -44.0);
    EXPECT_NEAR(kBrightness.ValueAt(28), -44.0, 1e-13);
    // Where both are exact they agree.
    EXPECT_EQ(kBrightness.ValueAt(50), 0.0);
    EXPECT_EQ(brightnessAsSteps.ValueAt(50), 0.0);
    EXPECT_EQ(thresholdAsShare.ValueAt(50), 50.0);
}

namespace {

// A widget with a column layout, as every dialog builds its rows into.
struct Column {
    Column() { new QVBoxLayout(&widget); }

    QLabel* LabelAt(int index) const
    {
        return qobject_cast<QLabel*>(widget.layout()->itemAt(index)->widget());
    }

    QWidget widget;
};

} // namespace

TEST(SliderRow, PutsTheLabelAboveASliderWithRangeTicksAndStart)
{
    Column column;
    int moves = 0;
    const SliderRow radius{IDS_DLG13_SIZE_LABEL, 1, 4, 1, 0};
    QSlider* slider = AddSliderRow(&column.widget, radius, SliderStore::OnEveryChange, [&] { ++moves; });
    ASSERT_EQ(column.widget.layout()->count(), 2);
    ASSERT_NE(column.LabelAt(0), nullptr);
    EXPECT_EQ(column.LabelAt(0)->text(), QStringLiteral("Filter size:"));
    EXPECT_EQ(column.LabelAt(0)->buddy(), slider);
    EXPECT_EQ(column.widget.layout()->itemAt(1)->widget(), slider->parentWidget()) << "the slider's row";
    EXPECT_EQ(slider->orientation(), Qt::Horizontal);
    EXPECT_EQ(slider->minimum(), 1);
    EXPECT_EQ(slider->maximum(), 4);
    EXPECT_EQ(slider->value(), 1);
    EXPECT_EQ(slider->tickPosition(), QSlider::TicksBelow);
    EXPECT_EQ(slider->tickInterval(), 0);
    EXPECT_EQ(moves, 0) << "the start position is no move";

    const SliderRow brightness = ScaledSliderRow(IDS_DLG107_BRIGHTNESS_LABEL, kBrightness, 36.0);
    QSlider* scaled = AddSliderRow(&column.widget, brightness, SliderStore::OnEveryChange, [] {});
    EXPECT_EQ(column.LabelAt(2)->text(), QStringLiteral("Brightness:"));
    EXPECT_EQ(scaled->minimum(), 0);
    EXPECT_EQ(scaled->maximum(), 100);
    EXPECT_EQ(scaled->value(), 68);
    EXPECT_EQ(scaled->tickInterval(), 25);
}

TEST(SliderRow, ReportsEveryChangeOrOnlyTheEndOfAMovement)
{
    Column column;
    int everyChange = 0;
    int movementEnds = 0;
    QSlider* eager = AddSliderRow(&column.widget, ScaledSliderRow(IDS_DLG107_BRIGHTNESS_LABEL, kBrightness, 0.0),
                                  SliderStore::OnEveryChange, [&] { ++everyChange; });
    QSlider* patient = AddSliderRow(&column.widget, ScaledSliderRow(IDS_DLG13_SIZE_LABEL, kThreshold, 0.0),
                                    SliderStore::WhenMovementEnds, [&] { ++movementEnds; });
    for (QSlider* slider : {eager, patient}) {
        slider->setSliderDown(true);
        slider->setValue(20);
        slider->setValue(30);
        slider->setSliderDown(false);  // the release
        slider->setValue(40);          // a keyboard step: no drag
    }
    EXPECT_EQ(everyChange, 3);
    EXPECT_EQ(movementEnds, 2);
}

namespace {

CSliderValueBox* BoxOf(QSlider* slider)
{
    return slider->parentWidget()->findChild<CSliderValueBox*>();
}

void Type(QLineEdit* box, const QString& text)
{
    box->setText(text);
    emit box->editingFinished();
}

} // namespace

TEST(SliderValueBox, FollowsTheSliderAndMovesItToATypedValue)
{
    Column column;
    QStringList stored;
    QSlider* brightness = nullptr;
    brightness = AddSliderRow(&column.widget, ScaledSliderRow(IDS_DLG107_BRIGHTNESS_LABEL, kBrightness, 0.0),
                              SliderStore::OnEveryChange,
                              [&] { stored << SliderValueText(kBrightness.ValueAt(brightness->value())); },
                              ScaledSliderValues(kBrightness));
    CSliderValueBox* box = BoxOf(brightness);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->text(), QStringLiteral("0"));
    brightness->setValue(69);
    EXPECT_EQ(box->text(), QStringLiteral("38")) << "-100 + 69 steps of 2";

    // Exactly 20 is position 60; the slider reports the move as the user's own.
    Type(box, QStringLiteral("20"));
    EXPECT_EQ(brightness->value(), 60);
    EXPECT_EQ(kBrightness.ValueAt(brightness->value()), 20.0);
    EXPECT_EQ(box->text(), QStringLiteral("20"));
    // 21 lies between two positions: a half rounds up, to 22, which the box then shows.
    Type(box, QStringLiteral("21"));
    EXPECT_EQ(brightness->value(), 61);
    EXPECT_EQ(box->text(), QStringLiteral("22"));
    // Beyond the range: the end; no number: the slider stays and its value returns.
    Type(box, QStringLiteral("-250"));
    EXPECT_EQ(brightness->value(), 0);
    Type(box, QStringLiteral("lots"));
    EXPECT_EQ(brightness->value(), 0);
    EXPECT_EQ(box->text(), QStringLiteral("-100"));
    EXPECT_EQ(stored, (QStringList{"38", "20", "22", "-100"}));
}

TEST(SliderValueBox, ShowsEachKindOfSettingAndReadsEitherDecimalMark)
{
    Column column;
    int moves = 0;
    QSlider* contrast = AddSliderRow(&column.widget, ScaledSliderRow(IDS_DLG107_CONTRAST_LABEL, kContrast, 1.0),
                                     SliderStore::WhenMovementEnds, [&] { ++moves; }, ScaledSliderValues(kContrast));
    EXPECT_EQ(BoxOf(contrast)->text(), QStringLiteral("1"));
    Type(BoxOf(contrast), QStringLiteral("1,02"));
    EXPECT_EQ(contrast->value(), 51);
    EXPECT_EQ(moves, 1) << "a typed value ends its movement at once";
    EXPECT_EQ(BoxOf(contrast)->text(), QStringLiteral("1.02"));

    QSlider* size = AddSliderRow(&column.widget, SliderRow{IDS_DLG13_SIZE_LABEL, 1, 4, 1, 0},
                                 SliderStore::WhenMovementEnds, [] {});
    Type(BoxOf(size), QStringLiteral("3"));
    EXPECT_EQ(size->value(), 3);
    Type(BoxOf(size), QStringLiteral("2.6"));
    EXPECT_EQ(size->value(), 3) << "the nearest position";

    // A hundredth per position: the amount 0.37 is position 37.
    QSlider* amount = AddSliderRow(&column.widget, SliderRow{IDS_DLG106_AMOUNT_LABEL, 0, 100, 10, 10},
                                   SliderStore::OnEveryChange, [] {}, DividedSliderValues(100.0));
    EXPECT_EQ(BoxOf(amount)->text(), QStringLiteral("0.1"));
    Type(BoxOf(amount), QStringLiteral("0.37"));
    EXPECT_EQ(amount->value(), 37);

    EXPECT_EQ(SliderValueText(-43.99999999999999), QStringLiteral("-44"));
    EXPECT_EQ(SliderValueText(-0.00001), QStringLiteral("0"));
    EXPECT_EQ(SliderValueText(2.5075), QStringLiteral("2.5075"));
}
