// Crop and free rotation in the editor: the rectangle dragged on the photo is what
// Crop keeps, a line drawn along a tilted edge turns the photo level, and
// "Autorotate Image" finds the turn by itself.

#include "EditorTestSupport.h"

#include "apps/editor/EditorWindow.h"
#include "apps/editor/FilterPanel.h"
#include "apps/editor/FilterSession.h"
#include "apps/editor/PhotoDocument.h"
#include "apps/editor/PhotoView.h"
#include "refhost/ImageFile.h"
#include "tests/TiltedLines.h"

#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>

#include <algorithm>
#include <cmath>

namespace {

const QString kSamplePhoto = QStringLiteral(BF_SOURCE_DIR "/samples/fruits.jpg");
constexpr int kWaitMs = 10000;

// The size of the whole picture turned by degrees: the bounding box of its turned
// corner pixels, each coordinate rounded half away from zero.
QSize TurnedSize(QSize size, double degrees)
{
    const double theta = degrees / 360 * 2 * M_PI;
    const auto rounded = [](double v) { return v > 0 ? std::floor(v + 0.5) : -std::floor(0.5 - v); };
    double left = 1e9, right = -1e9, top = 1e9, bottom = -1e9;
    for (const QPointF corner : {QPointF(0, 0), QPointF(0, size.height() - 1),
                                 QPointF(size.width() - 1, size.height() - 1), QPointF(size.width() - 1, 0)}) {
        const double x = rounded(corner.x() * std::cos(theta) - corner.y() * std::sin(theta));
        const double y = rounded(corner.x() * std::sin(theta) + corner.y() * std::cos(theta));
        left = std::min(left, x);
        right = std::max(right, x);
        top = std::min(top, y);
        bottom = std::max(bottom, y);
    }
    return {static_cast<int>(right - left) + 1, static_cast<int>(bottom - top) + 1};
}

class GeometryEditorTest : public ::testing::Test {
protected:
    void Open(const QString& path)
    {
        m_window = std::make_unique<CEditorWindow>(m_catalog.Get());
        ASSERT_TRUE(ShowWithPhoto(*m_window, path));
    }

    QImage Photo() const { return Opaque(m_window->Document()->Picture()); }
    CPhotoView* View() const { return m_window->View(); }

    // The filter's entry wherever it is: the free Rotate heads the Rotate sub-menu.
    void OpenFilter(const QString& name)
    {
        QAction* action = FilterMenuEntry(m_window->menuBar(), name);
        ASSERT_NE(action, nullptr) << "no entry " << name.toStdString();
        action->trigger();
        ASSERT_NE(m_window->Session(), nullptr) << name.toStdString();
        // The dialog's first store, as it would run before a person can draw.
        QCoreApplication::processEvents();
    }

    void Drag(QPointF fromPhoto, QPointF toPhoto) { DragOnPhoto(View(), fromPhoto, toPhoto); }

    void Accept()
    {
        m_window->FilterPanel()->Buttons()->button(QDialogButtonBox::Ok)->click();
        ASSERT_EQ(m_window->Session(), nullptr);
    }

    QLineEdit* AngleEdit() const { return m_window->FilterPanel()->findChild<QLineEdit*>(); }

    CTestCatalog m_catalog;
    std::unique_ptr<CEditorWindow> m_window;
};

} // namespace

TEST_F(GeometryEditorTest, CropKeepsTheRectangleDraggedOnThePhoto)
{
    Open(kSamplePhoto);
    const QImage original = Photo();
    OpenFilter(QStringLiteral("Crop"));
    EXPECT_EQ(View()->Tool(), PreviewTool::Rectangle);
    // The dialog proposes the middle half of the photo.
    EXPECT_EQ(View()->ShapeText(), QStringLiteral("128 120 384 360"));

    Drag(QPointF(40, 30), QPointF(200, 150));
    const QStringList edges = View()->ShapeText().split(u' ');
    ASSERT_EQ(edges.size(), 4) << View()->ShapeText().toStdString();
    const QRect kept(QPoint(edges[0].toInt(), edges[1].toInt()), QPoint(edges[2].toInt() - 1, edges[3].toInt() - 1));
    EXPECT_NEAR(kept.left(), 40, 2);
    EXPECT_NEAR(kept.bottom(), 149, 2);
    const QImage expected = original.copy(kept);
    ASSERT_TRUE(QTest::qWaitFor([&] { return Opaque(View()->Picture()) == expected; }, kWaitMs))
        << "the preview never showed the crop";
    Accept();
    EXPECT_EQ(Photo(), expected);
}

// A line drawn along an edge that falls to the right by one pixel in ten adds
// atan(0.1) to the angle: the photo turns counter-clockwise until the edge is level.
TEST_F(GeometryEditorTest, ALineDrawnAlongATiltedEdgeTurnsThePhotoLevel)
{
    Open(kSamplePhoto);
    const QSize original = Photo().size();
    OpenFilter(QStringLiteral("Rotate"));
    EXPECT_EQ(View()->Tool(), PreviewTool::Line);
    ASSERT_NE(AngleEdit(), nullptr);
    EXPECT_EQ(AngleEdit()->text(), QStringLiteral("0"));

    Drag(QPointF(50, 100), QPointF(450, 140));
    const double expected = std::atan(0.1) * 180 / M_PI;
    ASSERT_TRUE(QTest::qWaitFor([&] { return std::abs(AngleEdit()->text().toDouble() - expected) < 0.3; }, kWaitMs))
        << "the dialog shows " << AngleEdit()->text().toStdString();
    EXPECT_TRUE(View()->ShapeText().isEmpty()) << "the line was used";

    const double angle = AngleEdit()->text().toDouble();
    Accept();
    EXPECT_EQ(Photo().size(), TurnedSize(original, angle));
}

TEST_F(GeometryEditorTest, AutorotateFindsTheTurnThatLevelsAHorizon)
{
    QTemporaryDir directory;
    const QString path = directory.filePath(QStringLiteral("tilted.png"));
    ASSERT_TRUE(TiltedLines(3.0).save(path));
    Open(path);
    OpenFilter(QStringLiteral("Rotate"));
    QPushButton* autorotate = nullptr;
    for (QPushButton* button : m_window->FilterPanel()->findChildren<QPushButton*>()) {
        if (button->text() == QStringLiteral("Autorotate Image")) autorotate = button;
    }
    ASSERT_NE(autorotate, nullptr);
    autorotate->click();
    QCoreApplication::processEvents();
    const double angle = AngleEdit()->text().toDouble();
    EXPECT_NEAR(angle, 357.0, 0.3) << "3 degrees clockwise levels it";
    Accept();
    EXPECT_EQ(Photo().size(), TurnedSize(QSize(480, 360), angle)) << "the photo was turned";
}
