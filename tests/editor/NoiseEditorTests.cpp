// Noise in the editor: the preview measures the photo's noise and the Remove Noise
// page shows the levels; a rectangle dragged on the photo is the region the levels
// are measured in; the page's tool requests keep or drop that rectangle.

#include "EditorTestSupport.h"

#include "Common/base/InteractiveInterfaces.h"
#include "apps/editor/EditorWindow.h"
#include "apps/editor/FilterPanel.h"
#include "apps/editor/FilterSession.h"
#include "apps/editor/PhotoDocument.h"
#include "apps/editor/PhotoView.h"
#include "apps/editor/PreviewTool.h"
#include "refhost/ImageConversion.h"
#include "refhost/PreviewSite.h"

#include <QPushButton>
#include <QSignalSpy>
#include <QSlider>
#include <QTabWidget>
#include <QTemporaryDir>

#include <algorithm>

namespace {

constexpr int kWaitMs = 20000;

// Grey with noise: -12 to 12 in the upper third, -3 to 3 below it.
QImage NoisyPhoto()
{
    QImage photo(480, 360, QImage::Format_RGB32);
    uint32_t state = 2463534242u;
    const auto draw = [&state](int halfWidth) {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return 128 + static_cast<int>(state % static_cast<uint32_t>(2 * halfWidth + 1)) - halfWidth;
    };
    for (int y = 0; y < photo.height(); ++y) {
        const int spread = y < 120 ? 12 : 3;
        for (int x = 0; x < photo.width(); ++x) photo.setPixel(x, y, qRgb(draw(spread), draw(spread), draw(spread)));
    }
    return photo;
}

// What the module's Noise filter makes of picture with format and a preview
// selection, applied as the command-line tool applies it.
QImage FilteredElsewhere(const CFilterCatalog& catalog, const QImage& picture, const WString& format,
                         const QString& selection)
{
    const std::vector<const FilterEntry*> found = catalog.Find("Noise");
    if (found.size() != 1) return {};
    auto source = CComPtr<CHostImage>::Adopt(ImageFromQImage(picture));
    CComPtr<IFilter> filter;
    if (!found[0]->factory->CreateFilter(static_cast<IImage*>(source.Get()), filter.Receive(), nullptr)) return {};
    auto interactive = CComPtr<IInteractiveFilter>::Query(filter.Get(), IID_IInteractiveFilter);
    auto site = CComPtr<CPreviewSite>::Adopt(CPreviewSite::Create(nullptr));
    site->SelectByUser(selection.toStdU16String().c_str());
    interactive->SetPreviewSite(site.Get());
    interactive->SetFormat(format.c_str());
    CComPtr<IImage> result;
    const bool applied = interactive->Apply(nullptr, result.Receive(), nullptr, nullptr);
    interactive->SetPreviewSite(nullptr);
    return applied ? Opaque(QImageFromImage(result.Get(), false)) : QImage();
}

// The parameter text of the Remove Noise page's trackbars.
WString RemovalFormat(const QList<QSlider*>& sliders)
{
    return QStringLiteral("NoiseActivePage:RemoveNoisePage\nNoiseValueVar1:%1\nNoiseValueVar2:%2\nNoiseValueVar3:%3\n"
                          "NoiseFilterSize:%4\n")
        .arg(sliders[1]->value())
        .arg(sliders[2]->value())
        .arg(sliders[3]->value())
        .arg(sliders[0]->value())
        .toStdU16String();
}

} // namespace

TEST(NoiseInTheEditor, TheLevelsShowAfterThePreviewAndARectangleIsTheRegion)
{
    QTemporaryDir directory;
    const QString path = directory.filePath(QStringLiteral("noisy.png"));
    const QImage photo = NoisyPhoto();
    ASSERT_TRUE(photo.save(path));

    CTestCatalog catalog;
    CEditorWindow window(catalog.Get());
    ASSERT_TRUE(ShowWithPhoto(window, path));
    QAction* noise = MenuAction(window.menuBar(), {QStringLiteral("Filters"), QStringLiteral("Noise")});
    ASSERT_NE(noise, nullptr);
    noise->trigger();
    QCoreApplication::processEvents();
    ASSERT_NE(window.Session(), nullptr);
    CPhotoView* view = window.View();

    // The Remove Noise page is the sheet's first tab: the smoothness, then red, green
    // and blue. The first preview measures the photo and the trackbars show it.
    const auto* tabs = window.FilterPanel()->findChild<QTabWidget*>();
    ASSERT_NE(tabs, nullptr);
    const QList<QSlider*> sliders = tabs->widget(0)->findChildren<QSlider*>();
    ASSERT_EQ(sliders.size(), 4);
    ASSERT_TRUE(QTest::qWaitFor([&] { return sliders[1]->value() > 0; }, kWaitMs)) << "no levels arrived";
    for (int channel = 1; channel <= 3; ++channel) {
        EXPECT_GT(sliders[channel]->value(), 0);
        EXPECT_LE(sliders[channel]->value(), 200);
    }
    // The editor offers the rectangle to a filter that reads one; the arrival of the
    // levels keeps it.
    EXPECT_EQ(view->Tool(), PreviewTool::Rectangle);
    QSignalSpy previews(window.Session(), &CFilterSession::previewShown);
    const QPoint from = view->ViewportPointOf(QPointF(20, 10)).toPoint();
    const QPoint to = view->ViewportPointOf(QPointF(460, 110)).toPoint();
    QTest::mousePress(view->viewport(), Qt::LeftButton, {}, from);
    QTest::mouseMove(view->viewport(), to);
    QTest::mouseRelease(view->viewport(), Qt::LeftButton, {}, to);
    const QString selection = view->ShapeText();
    ASSERT_FALSE(selection.isEmpty());
    ASSERT_TRUE(QTest::qWaitFor([&] { return previews.count() > 0; }, kWaitMs)) << "no preview after the drag";

    // The preview is what the filter makes with that rectangle as its region.
    const WString format = RemovalFormat(sliders);
    const QImage expected = FilteredElsewhere(catalog.Get(), photo, format, selection);
    ASSERT_FALSE(expected.isNull());
    EXPECT_TRUE(Opaque(view->Picture()) == expected) << "the preview did not measure in the rectangle";
    EXPECT_FALSE(FilteredElsewhere(catalog.Get(), photo, format, QString()) == expected)
        << "the rectangle made no difference to compare by";
    EXPECT_EQ(view->Tool(), PreviewTool::Rectangle);

    // "Automatic Profile" drops the region: the rectangle goes from the photo.
    QPushButton* automatic = nullptr;
    for (QPushButton* button : tabs->widget(0)->findChildren<QPushButton*>()) {
        if (button->text() == QStringLiteral("Automatic Profile")) automatic = button;
    }
    ASSERT_NE(automatic, nullptr);
    automatic->click();
    EXPECT_TRUE(view->ShapeText().isEmpty());
}
