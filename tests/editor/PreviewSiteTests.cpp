// What a filter learns from the preview site: selections and lines in full-size
// photo pixels (x from the left, y from the top), whatever the zoom, the scroll
// position or the size of the picture the view draws.

#include "EditorTestSupport.h"

#include "apps/editor/EditorPreviewSite.h"
#include "apps/editor/PhotoView.h"
#include "refhost/HostImage.h"

#include <QScrollBar>
#include <QSignalSpy>

namespace {

constexpr QSize kViewSize(400, 300);

class PreviewSiteTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_view.resize(kViewSize);
        m_view.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&m_view));
        m_previewSource = CComPtr<CHostImage>::Adopt(CHostImage::Create(40, 30));
        m_site = CComPtr<CEditorPreviewSite>::Adopt(CEditorPreviewSite::Create(
            static_cast<IImage*>(m_previewSource.Get()), &m_view, [this] { ++m_changes; }));
    }

    // A photo of photoSize drawn from a picture a tenth of its size, as previews are.
    void ShowPhoto(QSize photoSize, double zoom)
    {
        QImage picture(photoSize / 10, QImage::Format_RGB32);
        picture.fill(Qt::gray);
        m_view.SetPicture(picture, photoSize);
        m_view.SetZoom(zoom);
    }

    void Drag(QPoint from, QPoint to)
    {
        QWidget* surface = m_view.viewport();
        QTest::mousePress(surface, Qt::LeftButton, {}, from);
        QTest::mouseMove(surface, (from + to) / 2);
        QTest::mouseMove(surface, to);
        QTest::mouseRelease(surface, Qt::LeftButton, {}, to);
    }

    QString Selection()
    {
        const char16_t* text = m_site->GetSelection();
        return text == nullptr ? QString() : QString::fromUtf16(text);
    }

    CPhotoView m_view;
    CComPtr<CHostImage> m_previewSource;
    CComPtr<CEditorPreviewSite> m_site;
    int m_changes = 0;
};

TEST_F(PreviewSiteTest, RectanglesDrawnAtAnyZoomComeBackInPhotoPixels)
{
    QSignalSpy drawn(&m_view, &CPhotoView::shapeDrawn);
    m_site->SetToolMode(0, 2);

    // Fitted: 800 x 600 at half size fills the 400 x 300 view exactly.
    ShowPhoto(QSize(800, 600), 1.0);
    m_view.FitToWindow();
    EXPECT_EQ(m_view.Zoom(), 0.5);
    Drag(QPoint(25, 20), QPoint(75, 70));
    EXPECT_EQ(Selection(), QStringLiteral("50 40 150 140"));

    // Twice the size, centred: 100 x 80 becomes 200 x 160 starting at (100, 70).
    ShowPhoto(QSize(100, 80), 2.0);
    Drag(QPoint(190, 150), QPoint(110, 80));
    EXPECT_EQ(Selection(), QStringLiteral("5 5 45 40"));

    // Four times, scrolled to (800, 600): the view's corner is photo pixel (200, 150),
    // and a view pixel a quarter of a photo pixel.
    ShowPhoto(QSize(400, 300), 4.0);
    m_view.horizontalScrollBar()->setValue(800);
    m_view.verticalScrollBar()->setValue(600);
    Drag(QPoint(1, 1), QPoint(41, 21));
    EXPECT_EQ(Selection(), QStringLiteral("200 150 210 155"));
    EXPECT_EQ(drawn.count(), 3);
}

TEST_F(PreviewSiteTest, ProposedSelectionShowsAndMovesWithinThePhoto)
{
    ShowPhoto(QSize(800, 600), 0.5);
    m_site->SetToolMode(0, 4);
    m_site->SetSelection(u"200 150 600 450");
    EXPECT_EQ(Selection(), QStringLiteral("200 150 600 450"));

    // Dragged from inside by (10, 10) view pixels: (20, 20) photo pixels.
    Drag(QPoint(200, 150), QPoint(210, 160));
    EXPECT_EQ(Selection(), QStringLiteral("220 170 620 470"));
    // Pushed against the bottom right corner, it stops there.
    Drag(QPoint(200, 150), QPoint(390, 290));
    EXPECT_EQ(Selection(), QStringLiteral("400 300 800 600"));

    // A click draws nothing: the selection stays.
    QTest::mouseClick(m_view.viewport(), Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(Selection(), QStringLiteral("400 300 800 600"));

    m_site->SetSelection(u"not a rectangle");
    EXPECT_EQ(Selection(), QStringLiteral("400 300 800 600"));
}

TEST_F(PreviewSiteTest, LineToolAnswersTheLineUntilTheFilterHasUsedIt)
{
    ShowPhoto(QSize(100, 80), 2.0);
    m_site->SetToolMode(0, 3);
    EXPECT_EQ(Selection(), QString()) << "nothing drawn yet";
    // From the top left towards the bottom right: y grows downwards.
    Drag(QPoint(111, 71), QPoint(190, 150));
    EXPECT_EQ(Selection(), QStringLiteral("5 0 45 40"));
    m_site->SetToolMode(3, 0);
    EXPECT_EQ(Selection(), QStringLiteral("5 0 45 40")) << "a re-layout keeps the line";
    m_site->SetToolMode(1, 0);
    EXPECT_EQ(m_site->GetSelection(), nullptr);
    EXPECT_EQ(m_view.Tool(), PreviewTool::Line) << "the user may draw the next line";
}

TEST_F(PreviewSiteTest, ForwardsChangesAndLendsThePreviewPicture)
{
    m_site->ParametersChanged(0);
    m_site->ParametersChanged(0);
    EXPECT_EQ(m_changes, 2);

    CComPtr<IImage> image;
    CComPtr<IUnknown> keepAlive;
    ASSERT_TRUE(m_site->GetPreviewImage(image.Receive(), keepAlive.Receive()));
    EXPECT_EQ(image.Get(), static_cast<IImage*>(m_previewSource.Get()));
    EXPECT_TRUE(keepAlive);

    // Once the editor is done with the preview, a filter still holding the site
    // reaches nothing.
    m_site->Detach();
    m_site->ParametersChanged(0);
    EXPECT_EQ(m_changes, 2);
    m_site->SetToolMode(0, 2);
    EXPECT_EQ(m_view.Tool(), PreviewTool::Pan);
    EXPECT_EQ(m_site->GetSelection(), nullptr);
    EXPECT_FALSE(m_site->GetPreviewImage(image.Receive(), keepAlive.Receive()));
}

} // namespace
