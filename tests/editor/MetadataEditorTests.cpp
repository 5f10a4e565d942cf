// A camera photo in the editor: its colours on the screen, its fields in the side
// panel, its metadata in what is saved, and a damaged EXIF block said on the status line.

#include "EditorTestSupport.h"

#include "apps/editor/PhotoDocument.h"
#include "apps/editor/PhotoFactsDock.h"
#include "tests/metadata/MetadataPhotos.h"

#include <QStatusBar>
#include <QTemporaryDir>

#include <array>
#include <cmath>

namespace {

using Matrix = std::array<std::array<double, 3>, 3>;

// Adobe RGB (1998) and sRGB share the D65 white, so one matrix each way through XYZ.
constexpr Matrix kAdobeToXyz = {{{0.5767309, 0.1855540, 0.1881852},
                                 {0.2973769, 0.6273491, 0.0752741},
                                 {0.0270343, 0.0706872, 0.9911085}}};
constexpr Matrix kXyzToSrgb = {{{3.2404542, -1.5371385, -0.4985314},
                                {-0.9692660, 1.8760108, 0.0415560},
                                {0.0556434, -0.2040259, 1.0572252}}};
constexpr double kAdobeGamma = 563.0 / 256.0;
constexpr int kScreenTolerance = 3;

std::array<double, 3> Times(const Matrix& matrix, const std::array<double, 3>& vector)
{
    std::array<double, 3> result{};
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 3; ++column) result[row] += matrix[row][column] * vector[column];
    }
    return result;
}

int SrgbLevel(double linear)
{
    const double clamped = std::clamp(linear, 0.0, 1.0);
    const double encoded = clamped <= 0.0031308 ? 12.92 * clamped : 1.055 * std::pow(clamped, 1 / 2.4) - 0.055;
    return static_cast<int>(std::lround(encoded * 255));
}

QRgb AdobeToSrgb(QRgb adobe)
{
    const std::array<double, 3> linear = {std::pow(qRed(adobe) / 255.0, kAdobeGamma),
                                          std::pow(qGreen(adobe) / 255.0, kAdobeGamma),
                                          std::pow(qBlue(adobe) / 255.0, kAdobeGamma)};
    const std::array<double, 3> srgb = Times(kXyzToSrgb, Times(kAdobeToXyz, linear));
    return qRgb(SrgbLevel(srgb[0]), SrgbLevel(srgb[1]), SrgbLevel(srgb[2]));
}

class MetadataEditorTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_directory.isValid());
        ASSERT_TRUE(WriteCameraPhoto(m_photo));
        m_window = std::make_unique<CEditorWindow>(m_catalog.Get());
        m_window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(m_window.get()));
    }

    CPhotoFactsDock* Dock() const { return m_window->findChild<CPhotoFactsDock*>(); }

    CTestCatalog m_catalog;
    QTemporaryDir m_directory;
    QString m_photo = m_directory.filePath(QStringLiteral("camera.jpg"));
    std::unique_ptr<CEditorWindow> m_window;
};

TEST_F(MetadataEditorTest, ShowsThePhotoInScreenColoursAndItsFieldsInThePanel)
{
    ASSERT_TRUE(m_window->OpenPhoto(m_photo));
    CPhotoDocument* document = m_window->Document();
    const QImage picture = document->Picture();
    ASSERT_EQ(picture.size(), QSize(kStoredHeight, kStoredWidth));
    const QImage screen = document->ScreenPicture();
    ASSERT_EQ(screen.size(), picture.size());
    for (const QPoint point : {QPoint(8, 16), QPoint(24, 16), QPoint(8, 48), QPoint(24, 48)}) {
        const QRgb expected = AdobeToSrgb(picture.pixel(point));
        EXPECT_TRUE(Near(screen.pixel(point), expected, kScreenTolerance))
            << point.x() << "," << point.y() << ": " << std::hex << screen.pixel(point) << " for " << expected;
    }
    // The green block is where the two spaces differ most: the screen's is not the file's.
    EXPECT_FALSE(Near(screen.pixel(24, 16), picture.pixel(24, 16), kScreenTolerance));

    CPhotoFactsDock* dock = Dock();
    ASSERT_NE(dock, nullptr);
    EXPECT_TRUE(dock->isVisible());
    EXPECT_EQ(dock->ValueOf(QStringLiteral("Colour profile")), QString::fromLatin1(kProfileName));
    EXPECT_EQ(dock->ValueOf(QStringLiteral("Camera make")), QStringLiteral("Fictional Optics"));
    EXPECT_EQ(dock->ValueOf(QStringLiteral("Lens")), QStringLiteral("FO 35mm F2"));
    EXPECT_EQ(dock->ValueOf(QStringLiteral("Exposure time")), QStringLiteral("1/125 s"));
    EXPECT_EQ(dock->ValueOf(QStringLiteral("GPS position")), QStringLiteral("recorded"));

    // Another photo, without any of it, empties the panel's camera lines.
    const QString plain = m_directory.filePath(QStringLiteral("plain.png"));
    ASSERT_TRUE(QImage(8, 8, QImage::Format_RGB32).save(plain));
    ASSERT_TRUE(m_window->OpenPhoto(plain));
    EXPECT_EQ(dock->ValueOf(QStringLiteral("Camera make")), QString());
    EXPECT_EQ(dock->ValueOf(QStringLiteral("GPS position")), QStringLiteral("none"));
    EXPECT_EQ(m_window->Document()->ScreenPicture(), m_window->Document()->Picture());
}

TEST_F(MetadataEditorTest, SaveKeepsTheMetadataWithOrientationNormal)
{
    ASSERT_TRUE(m_window->OpenPhoto(m_photo));
    const QString saved = m_directory.filePath(QStringLiteral("saved.png"));
    ASSERT_TRUE(m_window->SaveTo(saved, -1));
    const std::optional<FoundMetadata> found = ReadMetadata(saved);
    ASSERT_TRUE(found.has_value());
    EXPECT_EQ(ExifText(found->exif, "Exif.Image.Make"), "Fictional Optics");
    EXPECT_EQ(ExifText(found->exif, "Exif.Image.Orientation"), "1");
    EXPECT_EQ(ExifText(found->exif, "Exif.Photo.PixelXDimension"), std::to_string(kStoredHeight));
    EXPECT_EQ(XmpText(found->xmp, "Xmp.xmp.Rating"), "4");
    EXPECT_EQ(QImage(saved).colorSpace(), TestProfile());
    // Saved as the document holds it, not as the screen shows it.
    EXPECT_EQ(StoredPixels(saved).pixel(24, 16), m_window->Document()->Picture().pixel(24, 16));
}

TEST_F(MetadataEditorTest, DamagedExifOpensWithAWordOnTheStatusLine)
{
    const QByteArray cut = WithTruncatedExif(FileBytes(m_photo), 60);
    ASSERT_FALSE(cut.isEmpty());
    ASSERT_TRUE(WriteBytes(m_photo, cut));
    ASSERT_TRUE(m_window->OpenPhoto(m_photo));
    EXPECT_FALSE(m_window->Document()->IsEmpty());
    EXPECT_TRUE(m_window->statusBar()->currentMessage().contains(QStringLiteral("EXIF")))
        << m_window->statusBar()->currentMessage().toStdString();
    const QString saved = m_directory.filePath(QStringLiteral("saved.jpg"));
    ASSERT_TRUE(m_window->SaveTo(saved, 90));
    const std::optional<FoundMetadata> found = ReadMetadata(saved);
    ASSERT_TRUE(found.has_value());
    EXPECT_TRUE(found->exif.empty());
    EXPECT_EQ(XmpText(found->xmp, "Xmp.xmp.Rating"), "4");
}

} // namespace
