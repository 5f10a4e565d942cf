// The preview's point picker: a click hands the filter the colour of the previewed
// picture under it, and Color Balance turns a picked grey into its gains.

#include "EditorTestSupport.h"

#include "apps/editor/EditorPreviewSite.h"
#include "apps/editor/EditorWindow.h"
#include "apps/editor/FilterPanel.h"
#include "apps/editor/PhotoDocument.h"
#include "apps/editor/PhotoView.h"
#include "apps/editor/PreviewTool.h"
#include "refhost/HostImage.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QSlider>
#include <QTabWidget>
#include <QTemporaryDir>

namespace {

constexpr QSize kViewSize(400, 300);
constexpr int kWaitMs = 10000;

// The previewed picture: 40 x 30, each pixel's colour made from its column and its
// row counted from the top, so that a wrong pixel or a flipped row shows.
constexpr int kPreviewWidth = 40;
constexpr int kPreviewHeight = 30;

uint32_t PreviewPixel(int x, int rowFromTop)
{
    return 0xFF000000u | static_cast<uint32_t>(6 * x) << 16 | static_cast<uint32_t>(8 * rowFromTop) << 8 | 0x55u;
}

// The colour as the site hands it: red in the low byte.
QString ColourText(int red, int green, int blue)
{
    return QString::number(red | green << 8 | blue << 16);
}

class ColorPickingTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_view.resize(kViewSize);
        m_view.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&m_view));
        m_previewSource = CComPtr<CHostImage>::Adopt(CHostImage::Create(kPreviewWidth, kPreviewHeight));
        for (int y = 0; y < kPreviewHeight; ++y) {
            uint32_t* row = m_previewSource->Row(kPreviewHeight - 1 - y);
            for (int x = 0; x < kPreviewWidth; ++x) row[x] = PreviewPixel(x, y);
        }
        m_site = CComPtr<CEditorPreviewSite>::Adopt(
            CEditorPreviewSite::Create(static_cast<IImage*>(m_previewSource.Get()), &m_view, [] {}));
        // A 400 x 300 photo, ten times the previewed picture, shown at its own size.
        QImage picture(kPreviewWidth, kPreviewHeight, QImage::Format_RGB32);
        picture.fill(Qt::gray);
        m_view.SetPicture(picture, QSize(400, 300));
        m_view.SetZoom(1.0);
    }

    void ClickOnPhotoPixel(QPoint pixel)
    {
        QTest::mouseClick(m_view.viewport(), Qt::LeftButton, {}, ViewportPointOfPixel(pixel));
    }

    QPoint ViewportPointOfPixel(QPoint pixel) const
    {
        // Off the pixel's centre, so that rounding to a whole viewport point stays in it.
        return m_view.ViewportPointOf(QPointF(pixel) + QPointF(0.3, 0.3)).toPoint();
    }

    QString Selection()
    {
        const char16_t* text = m_site->GetSelection();
        return text == nullptr ? QString() : QString::fromUtf16(text);
    }

    CPhotoView m_view;
    CComPtr<CHostImage> m_previewSource;
    CComPtr<CEditorPreviewSite> m_site;
};

} // namespace

// (0, 1) asks for the point picker. The noise page's pair: (2, 0) when measured
// levels arrive keeps the tool and what is drawn, (1, 0) when the page drops its
// region clears what is drawn.
TEST(PreviewToolRequests, EachPairAsksForItsToolOrKeepsOrClearsTheShape)
{
    EXPECT_EQ(DecodeToolMode(0, 1).tool, PreviewTool::Point);
    EXPECT_FALSE(DecodeToolMode(0, 1).clearShape);
    EXPECT_FALSE(DecodeToolMode(1, 1).tool.has_value());
    EXPECT_FALSE(DecodeToolMode(1, 0).tool.has_value());
    EXPECT_TRUE(DecodeToolMode(1, 0).clearShape) << "the shape-used request is still what it was";
    EXPECT_EQ(DecodeToolMode(0, 3).tool, PreviewTool::Line);
    EXPECT_FALSE(DecodeToolMode(2, 0).tool.has_value());
    EXPECT_FALSE(DecodeToolMode(2, 0).clearShape);
}

TEST_F(ColorPickingTest, AClickHandsTheColourOfThePreviewedPictureUnderIt)
{
    QSignalSpy picked(&m_view, &CPhotoView::shapeDrawn);
    m_site->SetToolMode(0, 1);
    EXPECT_EQ(m_view.Tool(), PreviewTool::Point);
    EXPECT_EQ(m_site->GetSelection(), nullptr) << "nothing picked yet";

    // Photo pixel (125, 47) lies in the previewed picture's pixel (12, 4) from the top.
    ClickOnPhotoPixel(QPoint(125, 47));
    EXPECT_EQ(picked.count(), 1);
    EXPECT_EQ(m_view.ShapeText(), QStringLiteral("125 47"));
    EXPECT_EQ(Selection(), ColourText(72, 32, 0x55));

    // The same pixel again counts again; the picture's corners are reached.
    ClickOnPhotoPixel(QPoint(125, 47));
    EXPECT_EQ(picked.count(), 2);
    ClickOnPhotoPixel(QPoint(399, 299));
    EXPECT_EQ(Selection(), ColourText(6 * 39, 8 * 29, 0x55));
    ClickOnPhotoPixel(QPoint(1, 1));  // a click at the view's (0, 0) would land in its middle
    EXPECT_EQ(Selection(), ColourText(0, 0, 0x55));

    // Pressed in one place and released in another, the release picks.
    QTest::mousePress(m_view.viewport(), Qt::LeftButton, {}, ViewportPointOfPixel(QPoint(10, 10)));
    QTest::mouseMove(m_view.viewport(), ViewportPointOfPixel(QPoint(205, 155)));
    QTest::mouseRelease(m_view.viewport(), Qt::LeftButton, {}, ViewportPointOfPixel(QPoint(205, 155)));
    EXPECT_EQ(Selection(), ColourText(6 * 20, 8 * 15, 0x55));
    EXPECT_EQ(picked.count(), 5);

    // The filter's "shape used" drops the pick; another tool answers its own shape.
    m_site->SetToolMode(1, 0);
    EXPECT_EQ(m_site->GetSelection(), nullptr);
    ClickOnPhotoPixel(QPoint(125, 47));
    m_site->SetToolMode(0, 2);
    EXPECT_EQ(m_site->GetSelection(), nullptr) << "no rectangle drawn";
}

TEST_F(ColorPickingTest, PickedColourFollowsThePictureNotTheZoom)
{
    m_site->SetToolMode(0, 1);
    // Twice the size about the middle: the view shows photo pixels 100 to 299 across.
    m_view.SetZoom(2.0);
    ClickOnPhotoPixel(QPoint(219, 121));
    EXPECT_EQ(m_view.ShapeText(), QStringLiteral("219 121"));
    EXPECT_EQ(Selection(), ColourText(6 * 21, 8 * 12, 0x55));
}

// In the editor: Color Balance asks for the picker, and a click on a grey seen
// through warm light sets the gains that make it grey again.
TEST(ColorBalanceInTheEditor, APickedGreySetsTheGains)
{
    QTemporaryDir directory;
    const QString path = directory.filePath(QStringLiteral("warm.png"));
    // A warm grey on the left, blue on the right.
    QImage photo(480, 360, QImage::Format_RGB32);
    for (int y = 0; y < photo.height(); ++y) {
        for (int x = 0; x < photo.width(); ++x) photo.setPixel(x, y, x < 240 ? qRgb(150, 120, 100) : qRgb(40, 60, 200));
    }
    ASSERT_TRUE(photo.save(path));

    CTestCatalog catalog;
    CEditorWindow window(catalog.Get());
    ASSERT_TRUE(ShowWithPhoto(window, path));
    QAction* colorBalance = MenuAction(window.menuBar(), {QStringLiteral("Filters"), QStringLiteral("Color"),
                                                          QStringLiteral("Color Balance")});
    ASSERT_NE(colorBalance, nullptr);
    colorBalance->trigger();
    QCoreApplication::processEvents();
    ASSERT_NE(window.Session(), nullptr);
    CPhotoView* view = window.View();
    EXPECT_EQ(view->Tool(), PreviewTool::Point);

    const QPoint inTheGrey = view->ViewportPointOf(QPointF(100.5, 200.5)).toPoint();
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, inTheGrey);
    QCoreApplication::processEvents();
    // The RGB page is the sheet's first tab; its trackbars are red, green, blue.
    const auto* tabs = window.FilterPanel()->findChild<QTabWidget*>();
    ASSERT_NE(tabs, nullptr);
    const QList<QSlider*> sliders = tabs->widget(0)->findChildren<QSlider*>();
    ASSERT_EQ(sliders.size(), 3);
    // Green over red 120 / 150 and green over blue 120 / 100, in percent.
    ASSERT_TRUE(QTest::qWaitFor([&] { return sliders[0]->value() == 80; }, kWaitMs)) << sliders[0]->value();
    EXPECT_EQ(sliders[1]->value(), 100);
    EXPECT_EQ(sliders[2]->value(), 120);

    window.FilterPanel()->Buttons()->button(QDialogButtonBox::Ok)->click();
    ASSERT_EQ(window.Session(), nullptr);
    const QImage result = Opaque(window.Document()->Picture());
    // 150 x 0.8 and 100 x 1.2: the grey is grey; the blue changes by the same gains.
    EXPECT_EQ(result.pixel(100, 200), qRgb(120, 120, 120));
    EXPECT_EQ(result.pixel(400, 100), qRgb(32, 60, 240));
}
