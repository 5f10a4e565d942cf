// Before and after at the same zoom and scroll, the histogram of what is shown, and
// the keyboard: what a photographer comparing a result with the original relies on.

#include "EditorTestSupport.h"

#include "apps/editor/EditorWindow.h"
#include "apps/editor/FilterPanel.h"
#include "apps/editor/FilterSession.h"
#include "apps/editor/HistogramDock.h"
#include "apps/editor/PhotoDocument.h"
#include "apps/editor/PhotoView.h"
#include "refhost/ImageConversion.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QPushButton>
#include <QScrollBar>
#include <QSlider>
#include <QTemporaryDir>

#include <array>
#include <cmath>

namespace {

constexpr int kWaitMs = 10000;
// Columns this near the divider show its lines and handle rather than the photo.
constexpr int kDividerBand = 10;

// Every pixel of its own colour, a black and a white corner for the clipping marks.
QImage ComparisonPhoto()
{
    QImage photo(300, 200, QImage::Format_RGB32);
    for (int y = 0; y < photo.height(); ++y) {
        for (int x = 0; x < photo.width(); ++x) photo.setPixel(x, y, qRgb(20 + x * 2 / 3, 30 + y, 230 - x / 2));
    }
    for (int y = 0; y < 10; ++y) {
        for (int x = 0; x < 10; ++x) {
            photo.setPixel(x, y, qRgb(0, 0, 0));
            photo.setPixel(photo.width() - 1 - x, y, qRgb(255, 255, 255));
        }
    }
    return photo;
}

// The counting rule written out: each channel's level, and the luminance
// (306 R + 601 G + 117 B) / 1024, truncated; blocks red, green, blue, luminance.
LevelCounts CountedByHand(const QImage& picture)
{
    LevelCounts counts{};
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            const QRgb pixel = picture.pixel(x, y);
            ++counts[qRed(pixel)];
            ++counts[256 + qGreen(pixel)];
            ++counts[512 + qBlue(pixel)];
            ++counts[768 + (306 * qRed(pixel) + 601 * qGreen(pixel) + 117 * qBlue(pixel)) / 1024];
        }
    }
    return counts;
}

class CompareViewTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_directory.isValid());
        m_path = m_directory.filePath(QStringLiteral("photo.png"));
        m_photo = ComparisonPhoto();
        ASSERT_TRUE(m_photo.save(m_path));
        m_window = std::make_unique<CEditorWindow>(m_catalog.Get());
        ASSERT_TRUE(ShowWithPhoto(*m_window, m_path));
    }

    CPhotoView* View() const { return m_window->View(); }

    QAction* Action(const QStringList& path) const
    {
        QAction* action = MenuAction(m_window->menuBar(), path);
        EXPECT_NE(action, nullptr) << path.join(u'/').toStdString();
        return action;
    }

    // Brightness and Contrast open with the brightness at position 60, which is 20.
    void PreviewBrightness20()
    {
        Action({QStringLiteral("Filters"), QStringLiteral("Brightness and Contrast")})->trigger();
        ASSERT_NE(m_window->Session(), nullptr);
        const QList<QSlider*> sliders = m_window->FilterPanel()->findChildren<QSlider*>();
        ASSERT_EQ(sliders.size(), 2);
        sliders[0]->setValue(60);
        ASSERT_TRUE(QTest::qWaitFor([&] { return Opaque(View()->Picture()) == Brightened(); }, kWaitMs))
            << "the preview never showed the brightness";
    }

    QImage Brightened() const { return WithBrightnessContrast(m_photo, 20.0, 1.0); }

    // Compares every pixel of the viewport that shows a photo pixel with the pixel
    // of left (columns before the divider) or right (from it on). At zooms of whole
    // numbers and 1 each screen pixel shows exactly one photo pixel.
    void ExpectSides(const QImage& left, const QImage& right, const char* what)
    {
        const bool split = View()->IsSplit() && !View()->IsShowingOriginal();
        const QImage shot = View()->viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
        const int divider = View()->DividerX();
        int leftSeen = 0;
        int rightSeen = 0;
        int wrong = 0;
        for (int y = 0; y < shot.height(); ++y) {
            for (int x = 0; x < shot.width(); ++x) {
                if (std::abs(x - divider) <= kDividerBand) continue;
                const QPointF at = View()->PhotoPointAt(QPointF(x + 0.5, y + 0.5));
                const QPoint pixel(static_cast<int>(std::floor(at.x())), static_cast<int>(std::floor(at.y())));
                if (!QRect(QPoint(0, 0), m_photo.size()).contains(pixel)) continue;
                const QImage& expected = x < divider ? left : right;
                (x < divider ? leftSeen : rightSeen)++;
                if ((shot.pixel(x, y) & 0xFFFFFFu) != (expected.pixel(pixel) & 0xFFFFFFu) && wrong++ < 5) {
                    ADD_FAILURE() << what << ": screen (" << x << ", " << y << ") shows photo pixel (" << pixel.x()
                                  << ", " << pixel.y() << ") from the wrong side or wrongly";
                }
            }
        }
        EXPECT_EQ(wrong, 0) << what;
        EXPECT_GT(leftSeen + rightSeen, 20000) << what;
        if (split) {
            EXPECT_GT(leftSeen, 1000) << what;
            EXPECT_GT(rightSeen, 1000) << what;
        }
    }

    QTemporaryDir m_directory;
    QString m_path;
    QImage m_photo;
    CTestCatalog m_catalog;
    std::unique_ptr<CEditorWindow> m_window;
};

} // namespace

TEST_F(CompareViewTest, SplitShowsTheOriginalLeftAndThePreviewRightAtTwoZooms)
{
    PreviewBrightness20();
    Action({QStringLiteral("View"), QStringLiteral("Split Before and After")})->trigger();
    ASSERT_TRUE(View()->IsSplit());

    View()->SetZoom(1.0);
    ExpectSides(m_photo, Brightened(), "100 %");

    // Twice the size, scrolled into the photo, the divider dragged to a third.
    View()->SetZoom(2.0);
    View()->horizontalScrollBar()->setValue(70);
    View()->verticalScrollBar()->setValue(50);
    const int from = View()->DividerX();
    const int to = View()->viewport()->width() / 3;
    const int middle = View()->viewport()->height() / 2;
    QTest::mousePress(View()->viewport(), Qt::LeftButton, {}, QPoint(from, middle));
    QTest::mouseMove(View()->viewport(), QPoint((from + to) / 2, middle));
    QTest::mouseMove(View()->viewport(), QPoint(to, middle));
    QTest::mouseRelease(View()->viewport(), Qt::LeftButton, {}, QPoint(to, middle));
    EXPECT_EQ(View()->DividerX(), to);
    EXPECT_EQ(View()->horizontalScrollBar()->value(), 70) << "dragging the divider pans nothing";
    ExpectSides(m_photo, Brightened(), "200 %, divider at a third");
}

TEST_F(CompareViewTest, ToggleFlipsToTheOriginalInPlaceWhileTheDialogIsOpenAndAfterApplying)
{
    PreviewBrightness20();
    View()->SetZoom(2.0);
    View()->horizontalScrollBar()->setValue(90);
    View()->verticalScrollBar()->setValue(40);
    const QPoint scrolled(View()->horizontalScrollBar()->value(), View()->verticalScrollBar()->value());
    ASSERT_GT(scrolled.x(), 0);
    QAction* original = Action({QStringLiteral("View"), QStringLiteral("Show Original")});
    original->trigger();
    EXPECT_TRUE(View()->IsShowingOriginal());
    EXPECT_EQ(Opaque(View()->ShownPicture()), m_photo);
    ExpectSides(m_photo, m_photo, "original while the dialog is open");
    original->trigger();
    ExpectSides(Brightened(), Brightened(), "preview again");
    EXPECT_EQ(View()->Zoom(), 2.0);
    EXPECT_EQ(QPoint(View()->horizontalScrollBar()->value(), View()->verticalScrollBar()->value()), scrolled);

    // Applied, and then a flip on top: the original is still the photo as opened.
    m_window->FilterPanel()->Buttons()->button(QDialogButtonBox::Ok)->click();
    ASSERT_EQ(m_window->Session(), nullptr);
    Action({QStringLiteral("Filters"), QStringLiteral("Rotate"), QStringLiteral("Flip Horizontal")})->trigger();
    const QImage result = FlippedHorizontally(Brightened());
    ASSERT_EQ(Opaque(m_window->Document()->Picture()), result);
    View()->SetZoom(1.0);
    original->trigger();
    ExpectSides(m_photo, m_photo, "the opened photo after applying");
    original->trigger();
    ExpectSides(result, result, "the result after applying");
    Action({QStringLiteral("View"), QStringLiteral("Split Before and After")})->trigger();
    ExpectSides(m_photo, result, "split after applying");
}

TEST(HistogramCounting, CountsEachChannelAndTheLuminanceOfAnyPicture)
{
    QImage picture(37, 23, QImage::Format_RGB32);
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            picture.setPixel(x, y, qRgb((x * 7 + y * 3) % 256, (x * x + y) % 256, (255 - 11 * y) & 0xFF));
        }
    }
    const LevelCounts expected = CountedByHand(picture);
    EXPECT_EQ(CountPictureLevels(picture), expected);
    // Other formats count as their colours.
    EXPECT_EQ(CountPictureLevels(picture.convertToFormat(QImage::Format_RGB888)), expected);
    EXPECT_EQ(CountPictureLevels(picture.copy(3, 2, 20, 15)), CountedByHand(picture.copy(3, 2, 20, 15)));
    EXPECT_EQ(CountPictureLevels(QImage()), LevelCounts{});

    // 4 of 10 pixels black in red only, 1 white in blue only: clipped shares.
    QImage ends(10, 1, QImage::Format_RGB32);
    ends.fill(qRgb(100, 100, 100));
    for (int x = 0; x < 4; ++x) ends.setPixel(x, 0, qRgb(0, 100, 100));
    ends.setPixel(9, 0, qRgb(100, 100, 255));
    const ClippedShares clipped = ClippedSharesOf(CountPictureLevels(ends));
    EXPECT_DOUBLE_EQ(clipped.shadows, 0.4);
    EXPECT_DOUBLE_EQ(clipped.highlights, 0.1);
    EXPECT_EQ(ClippedSharesOf(CountPictureLevels(QImage())).shadows, 0.0);
}

TEST_F(CompareViewTest, HistogramFollowsThePreviewAndMarksClipping)
{
    CHistogramDock* histogram = m_window->Histogram();
    ASSERT_NE(histogram, nullptr);
    EXPECT_TRUE(histogram->isVisible());
    histogram->Refresh();
    EXPECT_EQ(histogram->Counts(), CountedByHand(m_photo));
    // 100 of the 60000 pixels black, 100 white.
    EXPECT_EQ(histogram->ClippingText(), QStringLiteral("Clipped: shadows 0.2 %, highlights 0.2 %"));

    PreviewBrightness20();
    ASSERT_TRUE(QTest::qWaitFor([&] { return histogram->Counts() == CountedByHand(Brightened()); }, kWaitMs))
        << "the histogram never followed the preview";
    // Brightened by 20, nothing stays black.
    EXPECT_TRUE(histogram->ClippingText().startsWith(QStringLiteral("Clipped: shadows 0.0 %")));
    // The original shown: its histogram.
    Action({QStringLiteral("View"), QStringLiteral("Show Original")})->trigger();
    ASSERT_TRUE(QTest::qWaitFor([&] { return histogram->Counts() == CountedByHand(m_photo); }, kWaitMs));
}

TEST_F(CompareViewTest, KeyboardZoomsUndoesAndComparesAndHelpListsTheKeys)
{
    const QStringList lines = m_window->ShortcutLines();
    for (const char* expected :
         {"Zoom In\tCtrl++ or Ctrl+=", "Zoom Out\tCtrl+-", "Fit to Window\tCtrl+0", "Actual Pixels (100 %)\tCtrl+1",
          "Split Before and After\tY", "Show Original\t\\", "Open...\tCtrl+O"}) {
        EXPECT_TRUE(lines.contains(QString::fromUtf8(expected))) << expected << " in " << lines.join(u'|').toStdString();
    }
    const auto undo = std::find_if(lines.begin(), lines.end(), [](const QString& line) { return line.startsWith("Undo\t"); });
    ASSERT_NE(undo, lines.end());
    EXPECT_TRUE(undo->contains(QStringLiteral("Ctrl+Z")));
    EXPECT_NE(Action({QStringLiteral("Help"), QStringLiteral("Keyboard Shortcuts")}), nullptr);

    m_window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(m_window.get()));
    QWidget* target = View()->viewport();
    QTest::keyClick(target, Qt::Key_1, Qt::ControlModifier);
    EXPECT_EQ(View()->Zoom(), 1.0);
    QTest::keyClick(target, Qt::Key_Equal, Qt::ControlModifier);
    EXPECT_GT(View()->Zoom(), 1.0);
    QTest::keyClick(target, Qt::Key_Minus, Qt::ControlModifier);
    QTest::keyClick(target, Qt::Key_Minus, Qt::ControlModifier);
    EXPECT_LT(View()->Zoom(), 1.0);
    QTest::keyClick(target, Qt::Key_0, Qt::ControlModifier);
    EXPECT_TRUE(View()->IsFitting());
    QTest::keyClick(target, Qt::Key_Y);
    EXPECT_TRUE(View()->IsSplit());
    QTest::keyClick(target, Qt::Key_Backslash);
    EXPECT_TRUE(View()->IsShowingOriginal());
    QTest::keyClick(target, Qt::Key_Backslash);
    EXPECT_FALSE(View()->IsShowingOriginal());

    // Undo and redo take the platform's keys (Ctrl+Z; Ctrl+Y or Ctrl+Shift+Z).
    Action({QStringLiteral("Filters"), QStringLiteral("Rotate"), QStringLiteral("Flip Horizontal")})->trigger();
    ASSERT_TRUE(m_window->Document()->IsModified());
    QTest::keyClick(target, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_FALSE(m_window->Document()->IsModified());
    QAction* redo = Action({QStringLiteral("Edit"), QStringLiteral("Redo Flip Horizontal")});
    ASSERT_NE(redo, nullptr);
    EXPECT_EQ(redo->shortcuts(), QKeySequence::keyBindings(QKeySequence::Redo));
    for (const QKeySequence& keys : redo->shortcuts()) {
        QTest::keySequence(target, keys);
        EXPECT_TRUE(m_window->Document()->IsModified()) << keys.toString().toStdString();
        QTest::keyClick(target, Qt::Key_Z, Qt::ControlModifier);
        EXPECT_FALSE(m_window->Document()->IsModified());
    }

    // The comparison keys work while a dialog is open, from its controls too.
    PreviewBrightness20();
    QSlider* slider = m_window->FilterPanel()->findChildren<QSlider*>().front();
    slider->setFocus();
    QTest::keyClick(slider, Qt::Key_Backslash);
    EXPECT_TRUE(View()->IsShowingOriginal());
    EXPECT_EQ(slider->value(), 60) << "the key is not the slider's";
}

// The README's picture: a real photo brightened, split against its original, with
// the histogram of the preview beside it.
TEST(CompareViewScreenshot, SplitViewAndHistogramOfTheSamplePhoto)
{
    const CTestCatalog catalog;
    CEditorWindow window(catalog.Get());
    window.resize(1200, 760);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    ASSERT_TRUE(window.OpenPhoto(QStringLiteral(BF_SOURCE_DIR "/samples/fruits.jpg")));
    MenuAction(window.menuBar(), {QStringLiteral("Filters"), QStringLiteral("Brightness and Contrast")})->trigger();
    ASSERT_NE(window.Session(), nullptr);
    const QList<QSlider*> sliders = window.FilterPanel()->findChildren<QSlider*>();
    ASSERT_EQ(sliders.size(), 2);
    sliders[0]->setValue(60);
    sliders[1]->setValue(65);
    const QImage expected =
        WithBrightnessContrast(QImageFromImage(window.Session()->PreviewSource(), false), 20.0, 1.3);
    ASSERT_TRUE(QTest::qWaitFor([&] { return Opaque(window.View()->Picture()) == expected; }, kWaitMs));
    MenuAction(window.menuBar(), {QStringLiteral("View"), QStringLiteral("Split Before and After")})->trigger();
    window.View()->SetDividerShare(0.45);
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return window.Histogram()->Counts() == CountedByHand(Opaque(window.View()->Picture())); }, kWaitMs));
    EXPECT_NE(window.Histogram()->Counts(), CountedByHand(Opaque(window.View()->Original())));
    QDir().mkpath(QStringLiteral(BF_ARTEFACT_DIR));
    EXPECT_TRUE(window.grab().save(QStringLiteral(BF_ARTEFACT_DIR "/editor-compare.png")));
}
