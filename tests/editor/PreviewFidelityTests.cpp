// What the preview shows from 100 % on is what Save writes: neighbourhood filters
// filter the part in view from the full-size photo, with their neighbourhoods
// reaching across the edge of the view; the others show the part of their result on
// the full photo. Below 100 % the reduced copy is filtered, and the status line says
// which of the two is shown.

#include "EditorTestSupport.h"

#include "Common/base/InteractiveInterfaces.h"
#include "Common/params/ParamList.h"

#include "apps/editor/EditorWindow.h"
#include "apps/editor/FilterPanel.h"
#include "apps/editor/FilterSession.h"
#include "apps/editor/PhotoDocument.h"
#include "apps/editor/PhotoView.h"
#include "refhost/ImageConversion.h"
#include "refhost/ImageFile.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QSlider>
#include <QTabWidget>
#include <QTemporaryDir>

#include <array>
#include <cmath>
#include <functional>

namespace {

constexpr int kWaitMs = 20000;

// Texture everywhere (a median and a sharpening both change it), edges and flat
// patches, the same on every run.
QImage TexturedPhoto(QSize size)
{
    QImage photo(size, QImage::Format_RGB32);
    uint32_t state = 12345;
    for (int y = 0; y < size.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(photo.scanLine(y));
        for (int x = 0; x < size.width(); ++x) {
            state = state * 1664525u + 1013904223u;
            const int grain = static_cast<int>(state >> 26);  // 0 to 63
            const int base = ((x / 37 + y / 23) % 3) * 60;
            row[x] = qRgb(base + grain, (x * 255 / size.width() + grain) & 0xFF, 200 - base / 2 + grain / 2);
        }
    }
    return photo;
}

// The levels the module's Noise filter estimates on picture, as it writes them into
// its settings; the smoothness does not enter the estimate.
std::array<int, 3> EstimatedNoiseLevels(const CFilterCatalog& catalog, IImage* picture)
{
    std::array<int, 3> levels{-1, -1, -1};
    const std::vector<const FilterEntry*> found = catalog.Find("Noise");
    CComPtr<IFilter> filter;
    if (found.size() != 1 || !found[0]->factory->CreateFilter(picture, filter.Receive(), nullptr)) return levels;
    filter->SetFormat(u"NoiseActivePage:RemoveNoisePage\nNoiseValueVar1:0\nNoiseValueVar2:0\nNoiseValueVar3:0\n"
                      u"NoiseFilterSize:3\n");
    CComPtr<IImage> result;
    if (!filter->Apply(nullptr, result.Receive(), nullptr, nullptr)) return levels;
    std::u16string format(static_cast<size_t>(filter->GetFormat(nullptr, 0)), u'\0');
    filter->GetFormat(format.data(), static_cast<int>(format.size()));
    const CParamList params(format.c_str());
    const char16_t* keys[] = {u"NoiseValueVar1", u"NoiseValueVar2", u"NoiseValueVar3"};
    for (size_t channel = 0; channel < 3; ++channel) params.GetInt(keys[channel], levels[channel]);
    return levels;
}

class PreviewFidelityTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_directory.isValid()); }

    void OpenPhoto(const QImage& photo, const char* name)
    {
        const QString path = m_directory.filePath(QString::fromUtf8(name));
        ASSERT_TRUE(photo.save(path));
        m_window = std::make_unique<CEditorWindow>(m_catalog.Get());
        ASSERT_TRUE(ShowWithPhoto(*m_window, path));
    }

    CPhotoView* View() const { return m_window->View(); }

    // The sliders of the dialog's page in view, in the order they are laid out.
    QList<QSlider*> VisibleSliders() const
    {
        QList<QSlider*> shown;
        for (QSlider* slider : m_window->FilterPanel()->findChildren<QSlider*>()) {
            if (slider->isVisible()) shown << slider;
        }
        return shown;
    }

    void OpenFilter(const QStringList& path)
    {
        QAction* action = MenuAction(m_window->menuBar(), path);
        ASSERT_NE(action, nullptr) << path.join(u'/').toStdString();
        action->trigger();
        ASSERT_NE(m_window->Session(), nullptr);
        // The dialog's first store and its preview.
        QTest::qWait(200);
    }

    // Moves a slider as a released drag does and waits for the part in view. A
    // slider left where it is reports nothing: one that settings remembered from an
    // earlier test put there goes to an end first.
    void MoveAndWait(QSlider* slider, int position)
    {
        if (slider->value() == position) {
            MoveAndWait(slider, position == slider->minimum() ? slider->maximum() : slider->minimum());
        }
        QSignalSpy refreshed(m_window->Session(), &CFilterSession::detailRefreshed);
        slider->setSliderDown(true);
        slider->setValue(position);
        slider->setSliderDown(false);
        ASSERT_TRUE(refreshed.wait(kWaitMs)) << "no preview after the release";
    }

    // At 100 %, scrolled into the middle so that all four edges of the view lie
    // inside the photo, adjust run on the open dialog: every screen pixel against
    // the saved file's pixel.
    void ExpectPreviewIsTheSavedFile(const QStringList& filterPath, const std::function<void()>& adjust)
    {
        View()->SetZoom(1.0);
        View()->horizontalScrollBar()->setValue(View()->horizontalScrollBar()->maximum() / 2);
        View()->verticalScrollBar()->setValue(View()->verticalScrollBar()->maximum() / 2);
        OpenFilter(filterPath);
        adjust();
        if (testing::Test::HasFatalFailure()) return;
        EXPECT_EQ(m_window->PreviewKindText(), QStringLiteral("Preview: actual pixels"));
        const QRect visible = View()->VisiblePhotoRect();
        ASSERT_GT(visible.left(), 0);
        ASSERT_GT(visible.top(), 0);
        ASSERT_LT(visible.right(), View()->PhotoSize().width() - 1);
        ASSERT_LT(visible.bottom(), View()->PhotoSize().height() - 1);
        const QImage shot = View()->viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);

        m_window->FilterPanel()->Buttons()->button(QDialogButtonBox::Ok)->click();
        ASSERT_EQ(m_window->Session(), nullptr);
        const QString saved = m_directory.filePath(QStringLiteral("saved.png"));
        ASSERT_TRUE(m_window->SaveTo(saved, -1));
        QImage file;
        QString error;
        ASSERT_TRUE(ReadImageFile(saved, file, error)) << error.toStdString();
        const QImage original = m_photo;

        int wrong = 0;
        int changed = 0;
        for (int y = 0; y < shot.height(); ++y) {
            for (int x = 0; x < shot.width(); ++x) {
                const QPointF at = View()->PhotoPointAt(QPointF(x + 0.5, y + 0.5));
                const QPoint pixel(static_cast<int>(std::floor(at.x())), static_cast<int>(std::floor(at.y())));
                const QRgb want = file.pixel(pixel) & 0xFFFFFFu;
                if (want != (original.pixel(pixel) & 0xFFFFFFu)) ++changed;
                if ((shot.pixel(x, y) & 0xFFFFFFu) != want && wrong++ < 5) {
                    ADD_FAILURE() << "screen (" << x << ", " << y << "), photo pixel (" << pixel.x() << ", "
                                  << pixel.y() << ") differs from the saved file";
                }
            }
        }
        EXPECT_EQ(wrong, 0);
        EXPECT_GT(changed, shot.width() * shot.height() / 4) << "the filter changed too little to tell";
    }

    QTemporaryDir m_directory;
    QImage m_photo;
    CTestCatalog m_catalog;
    std::unique_ptr<CEditorWindow> m_window;
};

} // namespace

// Median at its largest radius, 4, and Sharpen's unsharp mask at the largest sigma,
// 10, read farthest across the edge of the view; a lens distortion moves each pixel
// by its distance from the whole photo's centre, so its part is cut from the result
// on the full photo. Each slider goes to its last position or near it.
TEST_F(PreviewFidelityTest, NeighbourhoodAndPlacedFiltersAtActualPixelsAreTheSavedFile)
{
    const struct {
        const char* menuName;
        int fromLastPosition;
    } filters[] = {{"Median", 0}, {"Sharpen", 0}, {"Lens Distort", 100}};
    for (const auto& filter : filters) {
        SCOPED_TRACE(filter.menuName);
        m_photo = TexturedPhoto(QSize(1500, 1100));
        OpenPhoto(m_photo, "photo.png");
        ExpectPreviewIsTheSavedFile({QStringLiteral("Filters"), QString::fromUtf8(filter.menuName)}, [&] {
            QSlider* slider = VisibleSliders().front();
            MoveAndWait(slider, slider->maximum() - filter.fromLastPosition);
            EXPECT_EQ(View()->DetailArea(), View()->VisiblePhotoRect()) << "the part in view, at full size";
        });
    }
}

// Noise estimates its levels from the whole picture. It reads a rectangle drawn on
// the photo, so it previews on the full photo at every zoom: the levels it shows are
// the full photo's, and its preview is the saved file. A reduced copy, its grain
// averaged away, would read other levels.
TEST_F(PreviewFidelityTest, NoiseEstimatesOnTheFullPhotoAndItsPreviewIsTheSavedFile)
{
    m_photo = QImage(1500, 1100, QImage::Format_RGB32);
    uint32_t state = 99;
    for (int y = 0; y < m_photo.height(); ++y) {
        for (int x = 0; x < m_photo.width(); ++x) {
            state = state * 1664525u + 1013904223u;
            const int grain = static_cast<int>(state >> 28) - 8;  // -8 to 7
            m_photo.setPixel(x, y, qRgb(60 + x / 10 + grain, 90 + y / 10 + grain, 120 + grain));
        }
    }
    OpenPhoto(m_photo, "noise.png");
    auto photo = CComPtr<CHostImage>::Adopt(ImageFromQImage(m_photo));
    const std::array<int, 3> onTheFullPhoto = EstimatedNoiseLevels(m_catalog.Get(), static_cast<IImage*>(photo.Get()));
    auto reduced = CComPtr<CHostImage>::Adopt(
        ImageFromQImage(m_photo.scaled(m_photo.size() / 3, Qt::KeepAspectRatio, Qt::SmoothTransformation)));
    ASSERT_NE(EstimatedNoiseLevels(m_catalog.Get(), static_cast<IImage*>(reduced.Get())), onTheFullPhoto)
        << "a reduced copy's levels are no different to tell by";
    ExpectPreviewIsTheSavedFile({QStringLiteral("Filters"), QStringLiteral("Noise")}, [&] {
        const auto* tabs = m_window->FilterPanel()->findChild<QTabWidget*>();
        ASSERT_NE(tabs, nullptr);
        const QList<QSlider*> sliders = tabs->widget(0)->findChildren<QSlider*>();
        ASSERT_EQ(sliders.size(), 4);
        // The levels written back, rounded, make a second preview.
        ASSERT_TRUE(QTest::qWaitFor(
            [&] {
                return sliders[1]->value() > 0 && Opaque(View()->Picture()) != m_photo &&
                       !m_window->Session()->PreviewPending();
            },
            kWaitMs))
            << "no levels arrived";
        EXPECT_EQ((std::array<int, 3>{sliders[1]->value(), sliders[2]->value(), sliders[3]->value()}), onTheFullPhoto);
        EXPECT_EQ(View()->Picture().size(), m_photo.size()) << "the whole photo is previewed";
    });
}

// Autofix stretches the levels between the ends of the whole photo's histogram: a
// part of the photo would have other ends, a reduced copy other counts.
TEST_F(PreviewFidelityTest, AutofixAtActualPixelsIsTheSavedFile)
{
    m_photo = TexturedPhoto(QSize(1500, 1100));
    OpenPhoto(m_photo, "autofix.png");
    ExpectPreviewIsTheSavedFile({QStringLiteral("Filters"), QStringLiteral("Autofix Image")}, [this] {
        ASSERT_TRUE(QTest::qWaitFor([&] { return Opaque(View()->Picture()) != m_photo; }, kWaitMs))
            << "no preview";
        EXPECT_EQ(View()->Picture().size(), m_photo.size()) << "the whole photo is previewed";
        EXPECT_TRUE(View()->DetailArea().isEmpty());
    });
}

TEST_F(PreviewFidelityTest, BelowActualPixelsTheReducedCopyIsShownAndSaid)
{
    m_photo = TexturedPhoto(QSize(1500, 1100));
    OpenPhoto(m_photo, "fit.png");
    EXPECT_TRUE(View()->IsFitting());
    EXPECT_EQ(m_window->PreviewKindText(), QString()) << "no dialog, no preview";
    OpenFilter({QStringLiteral("Filters"), QStringLiteral("Median")});
    EXPECT_EQ(m_window->PreviewKindText(), QStringLiteral("Preview: reduced copy"));
    EXPECT_TRUE(View()->DetailArea().isEmpty());
    EXPECT_LT(View()->Picture().width(), m_photo.width());

    // Zoomed in, the part in view comes at full size, and it follows a scroll.
    QSignalSpy refreshed(m_window->Session(), &CFilterSession::detailRefreshed);
    View()->SetZoom(1.0);
    ASSERT_TRUE(refreshed.wait(kWaitMs));
    EXPECT_EQ(m_window->PreviewKindText(), QStringLiteral("Preview: actual pixels"));
    EXPECT_EQ(View()->DetailArea(), View()->VisiblePhotoRect());
    View()->horizontalScrollBar()->setValue(View()->horizontalScrollBar()->value() + 200);
    ASSERT_TRUE(refreshed.wait(kWaitMs));
    EXPECT_EQ(View()->DetailArea(), View()->VisiblePhotoRect());
    View()->SetZoom(0.5);
    ASSERT_TRUE(refreshed.wait(kWaitMs));
    EXPECT_EQ(m_window->PreviewKindText(), QStringLiteral("Preview: reduced copy"));
    EXPECT_TRUE(View()->DetailArea().isEmpty());
}
