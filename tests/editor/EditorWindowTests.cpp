// The editor as a photographer uses it: a photo, filters from the menus, a dialog
// with a live preview, undo, saving.

#include "EditorTestSupport.h"

#include "apps/editor/EditorWindow.h"
#include "apps/editor/FilterPanel.h"
#include "apps/editor/FilterSession.h"
#include "apps/editor/PhotoDocument.h"
#include "apps/editor/PhotoView.h"
#include "apps/editor/ProgressPanel.h"
#include "apps/editor/StatusMessage.h"
#include "refhost/ImageConversion.h"
#include "refhost/ImageFile.h"

#include <QCryptographicHash>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QImageWriter>
#include <QMimeData>
#include <QPushButton>
#include <QSettings>
#include <QSlider>
#include <QTemporaryDir>

#include <cmath>

namespace {

const QString kSamplePhoto = QStringLiteral(BF_SOURCE_DIR "/samples/fruits.jpg");
const QStringList kFlipPath{QStringLiteral("Filters"), QStringLiteral("Rotate"), QStringLiteral("Flip Horizontal")};
const QStringList kBrightnessPath{QStringLiteral("Filters"), QStringLiteral("Brightness and Contrast")};
constexpr int kWaitMs = 10000;

QImage ReadPicture(const QString& path)
{
    QImage picture;
    QString error;
    EXPECT_TRUE(ReadImageFile(path, picture, error)) << error.toStdString();
    return picture;
}

QByteArray FileDigest(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256);
}

class EditorWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_window = std::make_unique<CEditorWindow>(m_catalog.Get());
        m_window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(m_window.get()));
        ASSERT_TRUE(m_window->OpenPhoto(kSamplePhoto));
    }

    // The photo as the document holds it now.
    QImage Photo() const { return Opaque(m_window->Document()->Picture()); }

    void Trigger(const QStringList& path)
    {
        QAction* action = MenuAction(m_window->menuBar(), path);
        ASSERT_NE(action, nullptr) << path.join(u'/').toStdString();
        ASSERT_TRUE(action->isEnabled()) << path.join(u'/').toStdString();
        action->trigger();
    }

    // The dialog's brightness and contrast sliders, in that order.
    QList<QSlider*> Sliders() const { return m_window->FilterPanel()->findChildren<QSlider*>(); }

    // Moves both sliders and waits until the view shows the filter's preview with
    // the brightness and contrast that the positions stand for: a position is a step
    // of 2 levels from -100, or of 0.02 contrast from 0.
    void SetBrightnessContrast(int brightnessPosition, double brightness, int contrastPosition, double contrast)
    {
        const QList<QSlider*> sliders = Sliders();
        ASSERT_EQ(sliders.size(), 2);
        sliders[0]->setValue(brightnessPosition);
        sliders[1]->setValue(contrastPosition);
        const QImage expected = WithBrightnessContrast(
            QImageFromImage(m_window->Session()->PreviewSource(), false), brightness, contrast);
        ASSERT_TRUE(QTest::qWaitFor([&] { return Opaque(m_window->View()->Picture()) == expected; }, kWaitMs))
            << "the preview never showed the settings";
    }

    QPushButton* PanelButton(QDialogButtonBox::StandardButton which) const
    {
        return m_window->FilterPanel()->Buttons()->button(which);
    }

    CTestCatalog m_catalog;
    std::unique_ptr<CEditorWindow> m_window;
};

TEST_F(EditorWindowTest, FiltersFromTheMenusChangeThePhotoAndUndoRedoWalksTheHistory)
{
    const QImage original = Photo();
    ASSERT_FALSE(original.isNull());
    const QImage flipped = FlippedHorizontally(original);

    Trigger(kFlipPath);
    EXPECT_EQ(Photo(), flipped);
    EXPECT_EQ(Opaque(m_window->View()->Picture()), flipped);

    Trigger(kBrightnessPath);
    ASSERT_NE(m_window->Session(), nullptr);
    EXPECT_TRUE(m_window->FilterPanel()->isVisible());
    SetBrightnessContrast(60, 20.0, 65, 1.3);

    // The screenshot for the build's artefacts: the dialog open beside its preview.
    QDir().mkpath(QStringLiteral(BF_ARTEFACT_DIR));
    EXPECT_TRUE(m_window->grab().save(QStringLiteral(BF_ARTEFACT_DIR "/editor.png")));

    PanelButton(QDialogButtonBox::Ok)->click();
    EXPECT_EQ(m_window->Session(), nullptr);
    EXPECT_FALSE(m_window->FilterPanel()->isVisible());
    const QImage adjusted = WithBrightnessContrast(flipped, 20.0, 1.3);
    EXPECT_EQ(Photo(), adjusted);
    EXPECT_EQ(Opaque(m_window->View()->Picture()), adjusted);

    // The Edit menu names the step it undoes or redoes.
    Trigger({QStringLiteral("Edit"), QStringLiteral("Undo Brightness and Contrast")});
    EXPECT_EQ(Photo(), flipped);
    Trigger({QStringLiteral("Edit"), QStringLiteral("Undo Flip Horizontal")});
    EXPECT_EQ(Photo(), original);
    EXPECT_EQ(Opaque(m_window->View()->Picture()), original);
    EXPECT_FALSE(m_window->Document()->IsModified());
    EXPECT_FALSE(MenuAction(m_window->menuBar(), {QStringLiteral("Edit"), QStringLiteral("Undo")})->isEnabled());
    Trigger({QStringLiteral("Edit"), QStringLiteral("Redo Flip Horizontal")});
    EXPECT_EQ(Photo(), flipped);
    Trigger({QStringLiteral("Edit"), QStringLiteral("Redo Brightness and Contrast")});
    EXPECT_EQ(Photo(), adjusted);
}

TEST_F(EditorWindowTest, DialogStartsFromTheLastAcceptedSettingsAndCancelLeavesThePhoto)
{
    Trigger(kBrightnessPath);
    SetBrightnessContrast(70, 40.0, 40, 0.8);
    PanelButton(QDialogButtonBox::Ok)->click();
    const QImage accepted = Photo();
    EXPECT_EQ(accepted, WithBrightnessContrast(Opaque(ReadPicture(kSamplePhoto)), 40.0, 0.8));

    Trigger(kBrightnessPath);
    QList<QSlider*> sliders = Sliders();
    ASSERT_EQ(sliders.size(), 2);
    ASSERT_TRUE(QTest::qWaitFor([&] { return sliders[0]->value() == 70 && sliders[1]->value() == 40; }, kWaitMs))
        << "sliders at " << sliders[0]->value() << ", " << sliders[1]->value();
    SetBrightnessContrast(10, -80.0, 90, 1.8);
    PanelButton(QDialogButtonBox::Cancel)->click();
    EXPECT_EQ(m_window->Session(), nullptr);
    EXPECT_EQ(Photo(), accepted);
    EXPECT_EQ(Opaque(m_window->View()->Picture()), accepted);
    EXPECT_EQ(m_window->Document()->History()->count(), 1);
}

TEST_F(EditorWindowTest, CancelDuringTheApplyKeepsThePhotoAndTheDialog)
{
    Trigger(kBrightnessPath);
    SetBrightnessContrast(80, 60.0, 50, 1.0);
    // Clicked while the filter runs: the progress sink lets the click through.
    QTimer::singleShot(0, m_window->ProgressPanel()->CancelButton(), &QPushButton::click);
    PanelButton(QDialogButtonBox::Ok)->click();

    EXPECT_TRUE(m_window->ProgressPanel()->CancelRequested());
    EXPECT_FALSE(m_window->ProgressPanel()->isVisible());
    EXPECT_EQ(m_window->Document()->History()->count(), 0);
    EXPECT_EQ(Photo(), Opaque(ReadPicture(kSamplePhoto)));
    EXPECT_NE(m_window->Session(), nullptr) << "the dialog stays open to try again";
}

TEST_F(EditorWindowTest, SaveAsksBeforeReplacingTheOpenedFile)
{
    QTemporaryDir folder;
    const QString opened = folder.filePath(QStringLiteral("photo.png"));
    QString error;
    ASSERT_TRUE(WriteImageFile(ReadPicture(kSamplePhoto), opened, -1, error)) << error.toStdString();
    ASSERT_TRUE(m_window->OpenPhoto(opened));
    const QByteArray untouched = FileDigest(opened);
    Trigger(kFlipPath);
    QAction* save = MenuAction(m_window->menuBar(), {QStringLiteral("File"), QStringLiteral("Save")});
    ASSERT_NE(save, nullptr);

    {
        const CMessageBoxAnswer no(QMessageBox::No);
        save->trigger();
        EXPECT_EQ(no.Text(), QStringLiteral("Replace the original photo photo.png with the edited one?"))
            << "Save replaced the opened file without asking";
        EXPECT_EQ(no.Icon(), QMessageBox::Question);
        EXPECT_EQ(no.Title(), QStringLiteral("Save Photo"));
    }
    EXPECT_EQ(FileDigest(opened), untouched);
    EXPECT_TRUE(m_window->Document()->IsModified());

    {
        const CMessageBoxAnswer yes(QMessageBox::Yes);
        save->trigger();
        EXPECT_FALSE(yes.Text().isEmpty());
    }
    EXPECT_EQ(Opaque(ReadPicture(opened)), Photo());
    EXPECT_FALSE(m_window->Document()->IsModified());
}

TEST_F(EditorWindowTest, SavesInEveryWritableFormatKeepingSizeAndResolution)
{
    Trigger(kFlipPath);
    QTemporaryDir folder;
    const QImage photo = Photo();
    for (const char* suffix : {"png", "bmp", "tif"}) {
        if (!QImageWriter::supportedImageFormats().contains(suffix)) continue;
        const QString path = folder.filePath(QStringLiteral("saved.") + QLatin1String(suffix));
        ASSERT_TRUE(m_window->SaveTo(path, -1)) << suffix;
        EXPECT_EQ(Opaque(ReadPicture(path)), photo) << suffix << " is lossless";
        EXPECT_EQ(m_window->Document()->SavePath(), path);
    }
    const QString jpeg = folder.filePath(QStringLiteral("saved.jpg"));
    ASSERT_TRUE(m_window->SaveTo(jpeg, 95));
    const QImage reread = ReadPicture(jpeg);
    EXPECT_EQ(reread.size(), photo.size());
    // JPEG keeps whole dots per inch.
    const auto dotsPerInch = [](const QImage& picture) { return std::lround(picture.dotsPerMeterX() * 0.0254); };
    EXPECT_EQ(dotsPerInch(reread), dotsPerInch(ReadPicture(kSamplePhoto)));
}

TEST_F(EditorWindowTest, OpensAPhotoDroppedOnTheWindow)
{
    QTemporaryDir folder;
    const QString dropped = folder.filePath(QStringLiteral("dropped.png"));
    const QImage picture = FlippedHorizontally(Photo());
    QString error;
    ASSERT_TRUE(WriteImageFile(picture, dropped, -1, error)) << error.toStdString();

    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(dropped)});
    const QPoint at = m_window->rect().center();
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(m_window.get(), &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(m_window.get(), &drop);

    EXPECT_TRUE(QTest::qWaitFor([&] { return m_window->Document()->OpenedPath() == dropped; }, kWaitMs));
    EXPECT_EQ(Photo(), picture);
}

TEST_F(EditorWindowTest, FailedFilterShowsTheModulesStatusText)
{
    // A factory asked for a filter without a photo answers with status 5.
    const FilterEntry& entry = m_catalog.Get().Entries().front();
    CComPtr<IFilter> filter;
    CComPtr<IStatus> status;
    ASSERT_FALSE(entry.factory->CreateFilter(nullptr, filter.Receive(), status.Receive()));
    ASSERT_TRUE(status);

    const CMessageBoxAnswer ok(QMessageBox::Ok);
    ShowStatus(m_window.get(), status.Get());
    EXPECT_EQ(ok.Text(), QStringLiteral("Internal problem. Invalid function argument."));
    EXPECT_EQ(ok.Icon(), QMessageBox::Warning);
    EXPECT_EQ(ok.Title(), QStringLiteral("basicfilters-editor-tests"));

    // The framework's diagnostics switch adds where the check failed.
    QSettings framework(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Tavi"),
                        QStringLiteral("Tavi8/Tavi Lumivista Shared"));
    framework.setValue(QStringLiteral("StatusEx"), true);
    framework.sync();
    const CMessageBoxAnswer diagnosed(QMessageBox::Ok);
    ShowStatus(m_window.get(), status.Get());
    framework.remove(QStringLiteral("StatusEx"));
    const auto extended = CComPtr<IStatusEx>::Query(status.Get(), IID_IStatusEx);
    ASSERT_TRUE(extended);
    EXPECT_EQ(diagnosed.Text(), QStringLiteral("Internal problem. Invalid function argument.\nFile: %1, Line: %2")
                                    .arg(QString::fromStdU16String(extended->GetSourceFile()))
                                    .arg(extended->GetSourceLine()))
        << diagnosed.Text().toStdString();
}

} // namespace
