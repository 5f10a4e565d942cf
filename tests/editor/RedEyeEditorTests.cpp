// Red-eye reduction in the editor: the user marks a rectangle around an eye on the
// photo and applies; the red pupil turns black, the skin and everything outside the
// rectangle stay as they were.

#include "EditorTestSupport.h"

#include "apps/editor/EditorWindow.h"
#include "apps/editor/FilterPanel.h"
#include "apps/editor/FilterSession.h"
#include "apps/editor/PhotoDocument.h"
#include "apps/editor/PhotoView.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QTemporaryDir>

namespace {

const QRgb kSkin = qRgb(200, 160, 130);
const QRgb kPupil = qRgb(220, 30, 40);

// Skin with two red pupils; the right one stays outside the marked rectangle.
QImage Portrait()
{
    QImage photo(200, 120, QImage::Format_RGB32);
    photo.fill(kSkin);
    for (int y = 50; y < 60; ++y) {
        for (int x = 50; x < 60; ++x) {
            photo.setPixel(x, y, kPupil);
            photo.setPixel(x + 90, y, kPupil);
        }
    }
    return photo;
}

} // namespace

TEST(RedEyeEditor, TheMarkedEyeTurnsBlackAndNothingElseChanges)
{
    QTemporaryDir directory;
    const QString path = directory.filePath(QStringLiteral("portrait.png"));
    ASSERT_TRUE(Portrait().save(path));
    CTestCatalog catalog;
    CEditorWindow window(catalog.Get());
    ASSERT_TRUE(ShowWithPhoto(window, path));
    QAction* redEye = MenuAction(window.menuBar(), {QStringLiteral("Filters"), QStringLiteral("Red Eye Reduction")});
    ASSERT_NE(redEye, nullptr);
    redEye->trigger();
    QCoreApplication::processEvents();
    ASSERT_NE(window.Session(), nullptr);
    CPhotoView* view = window.View();
    EXPECT_EQ(view->Tool(), PreviewTool::Rectangle);

    const QPoint from = view->ViewportPointOf(QPointF(40, 40)).toPoint();
    const QPoint to = view->ViewportPointOf(QPointF(70, 70)).toPoint();
    QTest::mousePress(view->viewport(), Qt::LeftButton, {}, from);
    QTest::mouseMove(view->viewport(), to);
    QTest::mouseRelease(view->viewport(), Qt::LeftButton, {}, to);
    QCoreApplication::processEvents();
    window.FilterPanel()->Buttons()->button(QDialogButtonBox::Ok)->click();
    ASSERT_EQ(window.Session(), nullptr);

    const QImage fixed = Opaque(window.Document()->Picture());
    const QImage original = Opaque(Portrait());
    for (int y = 0; y < fixed.height(); ++y) {
        for (int x = 0; x < fixed.width(); ++x) {
            const bool markedPupil = x >= 50 && x < 60 && y >= 50 && y < 60;
            const QRgb expected = markedPupil ? qRgb(0, 0, 0) : original.pixel(x, y);
            ASSERT_EQ(fixed.pixel(x, y), expected) << x << "," << y;
        }
    }
}
