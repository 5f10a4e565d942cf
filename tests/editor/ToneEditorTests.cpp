// Invert and Vignetting from the editor's menus, as a photographer reaches them: the
// plain filter applies at once, the dialog's check boxes choose the channels.

#include "EditorTestSupport.h"

#include "apps/editor/EditorWindow.h"
#include "apps/editor/FilterPanel.h"
#include "apps/editor/PhotoDocument.h"
#include "apps/editor/PhotoView.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QTemporaryDir>

namespace {

constexpr int kWaitMs = 10000;

// Every pixel different, none black, so that darkening and inverting both show.
QImage GradientPhoto()
{
    QImage photo(61, 41, QImage::Format_RGB32);
    for (int y = 0; y < photo.height(); ++y) {
        for (int x = 0; x < photo.width(); ++x) photo.setPixel(x, y, qRgb(40 + 3 * x, 30 + 5 * y, 200 - 2 * x));
    }
    return photo;
}

class ToneEditorTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_directory.isValid());
        m_path = m_directory.filePath(QStringLiteral("photo.png"));
        ASSERT_TRUE(GradientPhoto().save(m_path));
        m_window = std::make_unique<CEditorWindow>(m_catalog.Get());
        ASSERT_TRUE(ShowWithPhoto(*m_window, m_path));
    }

    QImage Photo() const { return Opaque(m_window->Document()->Picture()); }

    void Trigger(const QStringList& path)
    {
        QAction* action = MenuAction(m_window->menuBar(), path);
        ASSERT_NE(action, nullptr) << path.join(u'/').toStdString();
        action->trigger();
        QCoreApplication::processEvents();
    }

    QTemporaryDir m_directory;
    QString m_path;
    CTestCatalog m_catalog;
    std::unique_ptr<CEditorWindow> m_window;
};

} // namespace

// The centre keeps its colour; the middle of the left edge and the corners, on or
// beyond the ellipse through the edges' midpoints, turn black.
TEST_F(ToneEditorTest, VignettingDarkensTowardsTheEdgesAtOnce)
{
    const QImage original = Photo();
    Trigger({QStringLiteral("Filters"), QStringLiteral("Photo Filters"), QStringLiteral("Vignetting")});
    EXPECT_EQ(m_window->Session(), nullptr) << "a filter without settings opens no dialog";
    const QImage vignetted = Photo();
    ASSERT_EQ(vignetted.size(), original.size());
    // Section rows count from the bottom: the centre row h / 2 is picture row 20 of 41.
    EXPECT_EQ(vignetted.pixel(30, 20), original.pixel(30, 20));
    for (const QPoint black : {QPoint(0, 20), QPoint(0, 0), QPoint(60, 40), QPoint(60, 0), QPoint(0, 40)}) {
        EXPECT_EQ(vignetted.pixel(black) & 0xFFFFFFu, 0u) << black.x() << "," << black.y();
    }
    // Halfway to the right edge on the centre row the factor is sqrt(1 - 0.5).
    const QRgb before = original.pixel(45, 20);
    const QRgb after = vignetted.pixel(45, 20);
    EXPECT_EQ(qRed(after), static_cast<int>(qRed(before) * std::sqrt(0.5)));
    EXPECT_EQ(qBlue(after), static_cast<int>(qBlue(before) * std::sqrt(0.5)));
}

TEST_F(ToneEditorTest, InvertTurnsTheCheckedChannelsOver)
{
    const QImage original = Photo();
    Trigger({QStringLiteral("Filters"), QStringLiteral("Color"), QStringLiteral("Invert")});
    ASSERT_NE(m_window->Session(), nullptr);
    const QList<QCheckBox*> boxes = m_window->FilterPanel()->findChildren<QCheckBox*>();
    ASSERT_EQ(boxes.size(), 3);
    for (const QCheckBox* box : boxes) EXPECT_TRUE(box->isChecked()) << box->text().toStdString();
    boxes[1]->click();  // green kept

    QImage expected = original;
    for (int y = 0; y < expected.height(); ++y) {
        for (int x = 0; x < expected.width(); ++x) {
            const QRgb pixel = original.pixel(x, y);
            expected.setPixel(x, y, qRgb(255 - qRed(pixel), qGreen(pixel), 255 - qBlue(pixel)));
        }
    }
    ASSERT_TRUE(QTest::qWaitFor([&] { return Opaque(m_window->View()->Picture()) == expected; }, kWaitMs))
        << "the preview never showed red and blue inverted";
    m_window->FilterPanel()->Buttons()->button(QDialogButtonBox::Ok)->click();
    EXPECT_EQ(Photo(), expected);
}
