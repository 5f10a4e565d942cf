// The Exposure sheet driven as a host drives it, under the offscreen platform: what
// each page stores, reloads, and what the two controls do with the mouse.

#include "tests/FilterDialogTest.h"
#include "tests/TestSupport.h"

#include "Common/base/FilterFormat.h"
#include "Common/dialogs/FlexPropertySheet.h"
#include "filters/exposure/ExposureDialog.h"
#include "filters/exposure/ExposureFactory.h"
#include "filters/exposure/GradCurveStatic.h"
#include "filters/exposure/HistogramDisplayStatic.h"
#include "platform/DialogMessage.h"
#include "refhost/PreviewSite.h"

#include <QMouseEvent>
#include <QPushButton>
#include <QWidget>

#include <gtest/gtest.h>

namespace {

// Grey pixels keep their level as luminance: 400 at 0, 300 at 255, 200 at 128, and
// six each at 60 and 180, five each at 30 and 220. The third-largest count 200 makes
// the automatic threshold 6, so the limits land on 60 and 180.
uint32_t Grey(int level)
{
    const auto g = static_cast<uint32_t>(level);
    return 0xFF000000u | g << 16 | g << 8 | g;
}

uint32_t PixelOfTheTestHistogram(int x, int)
{
    const std::pair<int, int> runs[] = {{400, 0}, {300, 255}, {200, 128}, {6, 60}, {6, 180}, {5, 30}, {5, 220}};
    for (const auto& [count, level] : runs) {
        if (x < count) return Grey(level);
        x -= count;
    }
    return Grey(128);
}

constexpr int kTestWidth = 922;

void Mouse(QWidget* widget, QEvent::Type type, QPoint at, Qt::MouseButton button = Qt::LeftButton)
{
    const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button);
    QMouseEvent event(type, QPointF(at), widget->mapToGlobal(QPointF(at)), type == QEvent::MouseMove ? Qt::NoButton : button,
                      held, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &event);
}

// A press at the first point, moves through the others, the release at the last.
void Drag(QWidget* widget, std::initializer_list<QPoint> path)
{
    Mouse(widget, QEvent::MouseButtonPress, *path.begin());
    for (auto point = path.begin() + 1; point != path.end(); ++point) Mouse(widget, QEvent::MouseMove, *point);
    Mouse(widget, QEvent::MouseButtonRelease, *(path.end() - 1));
}

class ExposureDialog : public FilterDialogTest {
protected:
    void SetUp() override { MakeFilter(FactoryOf<CExposureFactory>(), MakeImage(kTestWidth, 1, PixelOfTheTestHistogram)); }

    CExposureSheet* Open()
    {
        auto* sheet = OpenDialogOf<CExposureSheet>();
        PumpPostedEvents();
        return sheet;
    }

    // The curve control at a fixed size, given the points of format.
    CGradCurveStatic* CurveLoadedFrom(CExposureSheet* sheet, int width, int height, const char16_t* format)
    {
        CGradCurveStatic* curve = sheet->CurvesPage()->Curve();
        curve->setFixedSize(width, height);
        filter->SetFormat(format);
        PumpPostedEvents();
        return curve;
    }
};

} // namespace

TEST_F(ExposureDialog, OpensOnTheHistogramPageWithBothPagesStored)
{
    CExposureSheet* sheet = Open();
    EXPECT_EQ(sheet->Sheet()->PageCount(), 2);
    EXPECT_EQ(sheet->Sheet()->ActivePage(), CExposureSheet::kHistogramCorrIndex);
    EXPECT_EQ(StoredText(u"Active"), u"HistCorr");
    EXPECT_EQ(StoredValue(u"LeftLimit"), 0.0);
    EXPECT_EQ(StoredValue(u"RightLimit"), 255.0);
    EXPECT_EQ(StoredValue(u"MValue"), 1.0);
    EXPECT_EQ(StoredValue(u"BValue"), 0.0);
    // A text without a curve resets the curve page to the diagonal.
    EXPECT_EQ(StoredValue(u"NumSplinePoints"), 2.0);
    EXPECT_EQ(StoredValue(u"X000"), 0.0);
    EXPECT_EQ(StoredValue(u"Y000"), 0.0);
    EXPECT_EQ(StoredValue(u"X001"), 255.0);
    EXPECT_EQ(StoredValue(u"Y001"), 255.0);
    EXPECT_GE(site->ChangeCount(), 1);
}

TEST_F(ExposureDialog, ACurveGivenBeforeOpeningIsStoredBackUnchanged)
{
    filter->SetFormat(u"NumSplinePoints:3\nX000:0\nY000:10\nX001:64\nY001:100\nX002:255\nY002:251\n");
    Open();
    EXPECT_EQ(StoredValue(u"NumSplinePoints"), 3.0);
    EXPECT_EQ(StoredValue(u"X001"), 64.0);
    EXPECT_EQ(StoredValue(u"Y001"), 100.0);
    EXPECT_EQ(StoredValue(u"Y000"), 10.0);
    EXPECT_EQ(StoredValue(u"Y002"), 251.0);
    EXPECT_EQ(StoredText(u"Active"), u"HistCorr");
}

TEST_F(ExposureDialog, AutofixButtonStoresTheAutomaticLimits)
{
    CExposureSheet* sheet = Open();
    sheet->HistogramPage()->AutofixButton()->click();
    PumpPostedEvents();
    EXPECT_EQ(sheet->HistogramPage()->Histogram()->LeftLimit(), 60);
    EXPECT_EQ(sheet->HistogramPage()->Histogram()->RightLimit(), 180);
    EXPECT_EQ(StoredValue(u"LeftLimit"), 60.0);
    EXPECT_EQ(StoredValue(u"RightLimit"), 180.0);
    EXPECT_DOUBLE_EQ(StoredValue(u"MValue"), 2.125);  // 255 / 120
    EXPECT_DOUBLE_EQ(StoredValue(u"BValue"), -127.5);
    EXPECT_EQ(StoredText(u"Active"), u"HistCorr");
}

TEST_F(ExposureDialog, DraggingTheLimitMarkersStoresEachStep)
{
    CExposureSheet* sheet = Open();
    CHistogramDisplayStatic* histogram = sheet->HistogramPage()->Histogram();
    histogram->setFixedSize(256, 101);  // one column a level
    Mouse(histogram, QEvent::MouseButtonPress, {3, 50});  // within 5 levels of the left limit
    Mouse(histogram, QEvent::MouseMove, {40, 50});
    PumpPostedEvents();
    EXPECT_EQ(histogram->LeftLimit(), 40);
    EXPECT_EQ(StoredValue(u"LeftLimit"), 40.0);
    EXPECT_NEAR(StoredValue(u"MValue"), 255.0 / 215.0, 1e-6);  // written with six decimals
    Mouse(histogram, QEvent::MouseMove, {254, 50});  // not below right - 1: stays
    PumpPostedEvents();
    EXPECT_EQ(histogram->LeftLimit(), 40);
    Mouse(histogram, QEvent::MouseButtonRelease, {254, 50});

    Drag(histogram, {{251, 50}, {200, 50}, {41, 50}});  // the right limit, not above left + 1 at the end
    PumpPostedEvents();
    EXPECT_EQ(histogram->RightLimit(), 200);
    EXPECT_EQ(StoredValue(u"RightLimit"), 200.0);

    // A press away from both markers drags nothing.
    Drag(histogram, {{120, 50}, {90, 50}});
    EXPECT_EQ(histogram->LeftLimit(), 40);
    EXPECT_EQ(histogram->RightLimit(), 200);
}

TEST_F(ExposureDialog, ReloadShowsTheActivePageAndSnapsTheCurveToPixels)
{
    CExposureSheet* sheet = Open();
    CGradCurveStatic* curve = CurveLoadedFrom(
        sheet, 256, 256,
        u"Active:GradCurves\nLeftLimit:10\nRightLimit:20\nMValue:25.5\nBValue:-255\n"
        u"NumSplinePoints:3\nX000:0\nY000:0\nX001:128.6\nY001:200.2\nX002:255\nY002:255\n");
    EXPECT_EQ(sheet->Sheet()->ActivePage(), CExposureSheet::kGradationCurvesIndex);
    const std::vector<QPoint> expected{{0, 255}, {128, 55}, {255, 0}};
    EXPECT_EQ(curve->Points(), expected);
    EXPECT_DOUBLE_EQ(curve->Curve().X(1), 128.0);
    EXPECT_DOUBLE_EQ(curve->Curve().Y(1), 200.0);
    EXPECT_EQ(sheet->HistogramPage()->Histogram()->LeftLimit(), 10);
    EXPECT_EQ(sheet->HistogramPage()->Histogram()->RightLimit(), 20);
    EXPECT_EQ(StoredText(u"Active"), u"GradCurves");

    // A missing point leaves the curve as it was; so does a text without the whole
    // line for the limits.
    filter->SetFormat(u"Active:GradCurves\nLeftLimit:30\nNumSplinePoints:3\nX000:9\nY000:0\nX001:19\nY001:5\n");
    PumpPostedEvents();
    EXPECT_EQ(curve->Points(), expected);
    EXPECT_TRUE(curve->Curve().IsValid());
    EXPECT_EQ(sheet->HistogramPage()->Histogram()->LeftLimit(), 10);

    // Points whose x does not increase keep the control's points but empty its
    // curve, and an empty curve stores nothing.
    filter->SetFormat(u"Active:GradCurves\nNumSplinePoints:2\nX000:9\nY000:0\nX001:9\nY001:5\n");
    PumpPostedEvents();
    EXPECT_EQ(curve->Points(), expected);
    EXPECT_FALSE(curve->Curve().IsValid());
    sheet->CurvesPage()->Activate();
    PumpPostedEvents();
    EXPECT_EQ(StoredValue(u"X000"), 9.0);

    filter->SetFormat(u"Active:HistCorr\nLeftLimit:30\nRightLimit:220\nMValue:1.34\nBValue:-40.3\n");
    PumpPostedEvents();
    EXPECT_EQ(sheet->Sheet()->ActivePage(), CExposureSheet::kHistogramCorrIndex);
    EXPECT_EQ(sheet->HistogramPage()->Histogram()->LeftLimit(), 30);
}

TEST_F(ExposureDialog, CurvePointsAreAddedDraggedAndRemovedWithTheMouse)
{
    CExposureSheet* sheet = Open();
    sheet->Sheet()->SetActivePage(CExposureSheet::kGradationCurvesIndex);
    CGradCurveStatic* curve = sheet->CurvesPage()->Curve();
    curve->setFixedSize(256, 256);  // one pixel a level; y counts down
    sheet->CurvesPage()->ResetButton()->click();
    PumpPostedEvents();
    ASSERT_EQ(curve->Points().size(), 2u);

    // A click away from the points adds one and drags it.
    Mouse(curve, QEvent::MouseButtonPress, {100, 100});
    ASSERT_EQ(curve->Points().size(), 3u);
    Mouse(curve, QEvent::MouseMove, {120, 80});
    Mouse(curve, QEvent::MouseButtonRelease, {120, 80});
    PumpPostedEvents();
    EXPECT_EQ(curve->Points()[1], QPoint(120, 80));
    EXPECT_EQ(StoredValue(u"NumSplinePoints"), 3.0);
    EXPECT_EQ(StoredValue(u"X001"), 120.0);
    EXPECT_EQ(StoredValue(u"Y001"), 175.0);
    EXPECT_EQ(StoredText(u"Active"), u"GradCurves");

    // Within 3 pixels of a point's column nothing is added.
    Drag(curve, {{123, 200}});
    EXPECT_EQ(curve->Points().size(), 3u);

    // The ends move only up and down, clamped into the control.
    Drag(curve, {{1, 254}, {60, 300}, {60, 205}});
    EXPECT_EQ(curve->Points()[0], QPoint(0, 205));

    // Dragged onto its right neighbour's column, the inner point goes.
    Drag(curve, {{121, 81}, {255, 81}, {130, 81}});  // by the last move no longer dragging anything
    PumpPostedEvents();
    ASSERT_EQ(curve->Points().size(), 2u);
    EXPECT_EQ(StoredValue(u"NumSplinePoints"), 2.0);
    EXPECT_EQ(StoredValue(u"Y000"), 50.0);

    // With two points left neither drag nor the right button removes one.
    Mouse(curve, QEvent::MouseButtonPress, {255, 0}, Qt::RightButton);
    EXPECT_EQ(curve->Points().size(), 2u);

    // The right button removes an inner point, or an end while more than two remain.
    Drag(curve, {{50, 50}});
    Drag(curve, {{200, 20}});
    ASSERT_EQ(curve->Points().size(), 4u);
    Mouse(curve, QEvent::MouseButtonPress, {51, 49}, Qt::RightButton);
    ASSERT_EQ(curve->Points().size(), 3u);
    EXPECT_EQ(curve->Points()[1], QPoint(200, 20));
    Mouse(curve, QEvent::MouseButtonPress, {0, 205}, Qt::RightButton);
    ASSERT_EQ(curve->Points().size(), 2u);
    EXPECT_EQ(curve->Points()[0], QPoint(200, 20));
}

TEST_F(ExposureDialog, ResizingKeepsThePointsWhereTheyAreOnTheCurve)
{
    CGradCurveStatic* curve = CurveLoadedFrom(
        Open(), 256, 256, u"Active:GradCurves\nNumSplinePoints:3\nX000:0\nY000:0\nX001:102\nY001:204\nX002:255\nY002:255\n");
    curve->setFixedSize(101, 51);
    // 102 / 255 x 100 = 40 and 51 - 204 / 255 x 50 - 1 = 10.
    const std::vector<QPoint> expected{{0, 50}, {40, 10}, {100, 0}};
    EXPECT_EQ(curve->Points(), expected);
}
