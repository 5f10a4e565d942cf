#include "tests/FileBytes.h"
#include "tests/TestSupport.h"

#include "refhost/ImageConversion.h"
#include "refhost/ImageFile.h"

#include "platform/ComPtr.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <array>
#include <random>
#include <string>

namespace {

using ImagePtr = CComPtr<CHostImage>;

// A picture whose every pixel differs in every channel from its neighbours (up to
// 6 x 5 pixels, where every channel stays inside 0..255).
QImage DistinctPicture(int width, int height, QImage::Format format)
{
    QImage picture(width, height, QImage::Format_ARGB32);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            picture.setPixel(x, y, qRgba(10 + 40 * x, 20 + 45 * y, 250 - 13 * x - 19 * y, 255 - 30 * x - 7 * y));
        }
    }
    return picture.convertToFormat(format);
}

// The four bytes at column x of bottom-up row `row`, in memory order.
std::array<uint8_t, 4> BytesAt(CHostImage* image, int x, int row)
{
    const uint8_t* pixel = image->GetPixels() + static_cast<ptrdiff_t>(row) * image->GetStride() + x * 4;
    return {pixel[0], pixel[1], pixel[2], pixel[3]};
}

std::array<uint8_t, 4> ExpectedBytes(QRgb color, uint8_t fourth)
{
    return {static_cast<uint8_t>(qBlue(color)), static_cast<uint8_t>(qGreen(color)), static_cast<uint8_t>(qRed(color)),
            fourth};
}

QStringList EntriesOf(const QString& directory)
{
    return QDir(directory).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

// ---------------------------------------------------------------- QImage to image

TEST(ImageConversion, TopRowOfThePictureBecomesTheLastRowWithBytesBlueGreenRedAlpha)
{
    const QImage picture = DistinctPicture(4, 3, QImage::Format_ARGB32);
    auto image = ImagePtr::Adopt(ImageFromQImage(picture));
    ASSERT_TRUE(image);
    EXPECT_EQ(image->Width(), 4);
    EXPECT_EQ(image->Height(), 3);
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 4; ++x) {
            const QRgb color = picture.pixel(x, y);
            EXPECT_EQ(BytesAt(image.Get(), x, 2 - y), ExpectedBytes(color, static_cast<uint8_t>(qAlpha(color))))
                << x << "," << y;
        }
    }
}

TEST(ImageConversion, PictureWithoutAlphaGetsAnOpaqueFourthByte)
{
    for (const QImage::Format format : {QImage::Format_RGB32, QImage::Format_RGB888, QImage::Format_Grayscale8}) {
        const QImage picture = DistinctPicture(3, 2, format);
        auto image = ImagePtr::Adopt(ImageFromQImage(picture));
        ASSERT_TRUE(image) << format;
        for (int y = 0; y < 2; ++y) {
            for (int x = 0; x < 3; ++x) {
                EXPECT_EQ(BytesAt(image.Get(), x, 1 - y), ExpectedBytes(picture.pixel(x, y), 0xFF))
                    << "format " << format << " at " << x << "," << y;
            }
        }
    }
}

TEST(ImageConversion, AlphaIsKeptAsTheFourthByteWithUnpremultipliedColours)
{
    QImage picture(3, 1, QImage::Format_ARGB32);
    picture.setPixel(0, 0, qRgba(200, 100, 50, 0));
    picture.setPixel(1, 0, qRgba(12, 34, 56, 0x40));
    picture.setPixel(2, 0, qRgba(1, 2, 3, 0xFF));
    auto image = ImagePtr::Adopt(ImageFromQImage(picture));
    ASSERT_TRUE(image);
    EXPECT_EQ(BytesAt(image.Get(), 0, 0), (std::array<uint8_t, 4>{50, 100, 200, 0}));
    EXPECT_EQ(BytesAt(image.Get(), 1, 0), (std::array<uint8_t, 4>{56, 34, 12, 0x40}));
    EXPECT_EQ(BytesAt(image.Get(), 2, 0), (std::array<uint8_t, 4>{3, 2, 1, 0xFF}));
}

TEST(ImageConversion, NullPictureGivesNoImage)
{
    EXPECT_EQ(ImageFromQImage(QImage()), nullptr);
}

// ---------------------------------------------------------------- image to QImage

TEST(ImageConversion, BottomRowOfTheImageBecomesTheLastScanLine)
{
    auto image = ImagePtr::Adopt(CHostImage::Create(2, 3));
    image->SetPixel(1, 0, 0x80112233u);
    image->SetPixel(0, 2, 0xFF445566u);
    const QImage withAlpha = QImageFromImage(static_cast<IImage*>(image.Get()), true);
    EXPECT_EQ(withAlpha.format(), QImage::Format_ARGB32);
    EXPECT_EQ(withAlpha.pixel(1, 2), qRgba(0x11, 0x22, 0x33, 0x80));
    EXPECT_EQ(withAlpha.pixel(0, 0), qRgba(0x44, 0x55, 0x66, 0xFF));
    EXPECT_EQ(withAlpha.pixel(0, 1), qRgba(0, 0, 0, 0));

    const QImage opaque = QImageFromImage(static_cast<IImage*>(image.Get()), false);
    EXPECT_EQ(opaque.format(), QImage::Format_RGB32);
    EXPECT_EQ(opaque.pixel(1, 2), qRgb(0x11, 0x22, 0x33));
}

TEST(ImageConversion, ImageWithoutPixelsGivesANullPicture)
{
    auto empty = ImagePtr::Adopt(CHostImage::CreateEmpty());
    EXPECT_TRUE(QImageFromImage(static_cast<IImage*>(empty.Get()), true).isNull());
}

TEST(ImageConversion, RoundTripGivesThePixelsBack)
{
    for (const QImage::Format format : {QImage::Format_ARGB32, QImage::Format_RGB32}) {
        const QImage picture = DistinctPicture(5, 4, format);
        auto image = ImagePtr::Adopt(ImageFromQImage(picture));
        const QImage back = QImageFromImage(static_cast<IImage*>(image.Get()), picture.hasAlphaChannel());
        EXPECT_EQ(back.format(), format);
        EXPECT_EQ(FirstPixelDifference(picture, back), "") << "format " << format;
    }
}

TEST(ImageConversion, ResolutionTravelsBothWays)
{
    QImage picture = DistinctPicture(2, 2, QImage::Format_RGB32);
    picture.setDotsPerMeterX(11811);  // 300 dots per inch
    picture.setDotsPerMeterY(5906);   // 150 dots per inch
    auto image = ImagePtr::Adopt(ImageFromQImage(picture));
    int horizontal = 0;
    int vertical = 0;
    image->GetResolution(&horizontal, &vertical);
    EXPECT_EQ(horizontal, 300);
    EXPECT_EQ(vertical, 150);

    image->SetResolution(72, 300);
    const QImage back = QImageFromImage(static_cast<IImage*>(image.Get()), false);
    EXPECT_EQ(back.dotsPerMeterX(), 2835);  // 72 / 0.0254 = 2834.6
    EXPECT_EQ(back.dotsPerMeterY(), 11811);
}

// ---------------------------------------------------------------- files

class ImageFileTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_directory.isValid()); }

    QString PathOf(const QString& name) const { return m_directory.filePath(name); }

    QTemporaryDir m_directory;
};

TEST_F(ImageFileTest, PngRoundTripKeepsEveryPixelAndAlpha)
{
    const QImage picture = DistinctPicture(6, 5, QImage::Format_ARGB32);
    QString error;
    ASSERT_TRUE(WriteImageFile(picture, PathOf("p.png"), -1, error)) << error.toStdString();
    QImage read;
    ASSERT_TRUE(ReadImageFile(PathOf("p.png"), read, error)) << error.toStdString();
    EXPECT_TRUE(read.hasAlphaChannel());
    EXPECT_EQ(FirstPixelDifference(picture, read), "");
    EXPECT_EQ(EntriesOf(m_directory.path()), QStringList{"p.png"});
}

TEST_F(ImageFileTest, JpegIsWrittenWithTheGivenQuality)
{
    QImage picture(64, 48, QImage::Format_RGB32);
    std::mt19937 random(7);
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            picture.setPixel(x, y, qRgb(static_cast<int>(random() % 256), 4 * x, 5 * y));
        }
    }
    QString error;
    ASSERT_TRUE(WriteImageFile(picture, PathOf("low.JPG"), 5, error)) << error.toStdString();
    ASSERT_TRUE(WriteImageFile(picture, PathOf("high.jpeg"), 100, error)) << error.toStdString();
    EXPECT_LT(QFileInfo(PathOf("low.JPG")).size(), QFileInfo(PathOf("high.jpeg")).size());
    QImage read;
    ASSERT_TRUE(ReadImageFile(PathOf("high.jpeg"), read, error)) << error.toStdString();
    EXPECT_EQ(read.size(), picture.size());
}

TEST_F(ImageFileTest, OverwriteReplacesTheWholeFileAndLeavesNothingBeside)
{
    const QString target = PathOf("t.png");
    QString error;
    ASSERT_TRUE(WriteImageFile(DistinctPicture(6, 5, QImage::Format_ARGB32), target, -1, error));
    const QImage smaller = DistinctPicture(2, 3, QImage::Format_RGB32);
    ASSERT_TRUE(WriteImageFile(smaller, target, -1, error)) << error.toStdString();
    QImage read;
    ASSERT_TRUE(ReadImageFile(target, read, error)) << error.toStdString();
    EXPECT_EQ(FirstPixelDifference(smaller, read), "");
    EXPECT_EQ(EntriesOf(m_directory.path()), QStringList{"t.png"});
}

TEST_F(ImageFileTest, UnknownSuffixFailsWithAMessageAndWritesNothing)
{
    QString error;
    EXPECT_FALSE(WriteImageFile(DistinctPicture(2, 2, QImage::Format_RGB32), PathOf("out.xyz"), -1, error));
    EXPECT_TRUE(error.contains(PathOf("out.xyz"))) << error.toStdString();
    EXPECT_TRUE(error.contains("png")) << "the message lists the known formats: " << error.toStdString();
    EXPECT_TRUE(EntriesOf(m_directory.path()).isEmpty());

    error.clear();
    EXPECT_FALSE(WriteImageFile(DistinctPicture(2, 2, QImage::Format_RGB32), PathOf("noSuffix"), -1, error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_TRUE(EntriesOf(m_directory.path()).isEmpty());
}

TEST_F(ImageFileTest, FailedWritesLeaveAnExistingTargetAsItWas)
{
    const QByteArray oldBytes("not a picture, but somebody's file\n");
    ASSERT_TRUE(WriteBytes(PathOf("keep.xyz"), oldBytes));
    QString error;
    EXPECT_FALSE(WriteImageFile(DistinctPicture(2, 2, QImage::Format_RGB32), PathOf("keep.xyz"), -1, error));
    EXPECT_EQ(FileBytes(PathOf("keep.xyz")), oldBytes);

    // A picture the encoder refuses fails after the target was opened for writing.
    ASSERT_TRUE(WriteBytes(PathOf("keep.png"), oldBytes));
    error.clear();
    EXPECT_FALSE(WriteImageFile(QImage(), PathOf("keep.png"), -1, error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(FileBytes(PathOf("keep.png")), oldBytes);
    EXPECT_EQ(EntriesOf(m_directory.path()), (QStringList{"keep.png", "keep.xyz"}));
}

TEST_F(ImageFileTest, WritingIntoAMissingDirectoryFails)
{
    const QString path = PathOf("missing/out.png");
    QString error;
    EXPECT_FALSE(WriteImageFile(DistinctPicture(2, 2, QImage::Format_RGB32), path, -1, error));
    EXPECT_TRUE(error.contains(path)) << error.toStdString();
    EXPECT_TRUE(EntriesOf(m_directory.path()).isEmpty());
}

TEST_F(ImageFileTest, ReadingFailsWithAMessageNamingTheFile)
{
    std::mt19937 random(11);
    QByteArray noise;
    for (int i = 0; i < 4096; ++i) noise.append(static_cast<char>(random() & 0xFF));
    ASSERT_TRUE(WriteBytes(PathOf("corrupt.jpg"), noise));
    // A real JPEG start followed by garbage: the decoder starts and then gives up.
    ASSERT_TRUE(WriteBytes(PathOf("truncated.jpg"), QByteArray("\xFF\xD8\xFF\xE0", 4) + noise.left(100)));
    ASSERT_TRUE(QDir(m_directory.path()).mkdir("folder.png"));

    for (const QString& name : {QStringLiteral("absent.png"), QStringLiteral("folder.png"),
                                QStringLiteral("corrupt.jpg"), QStringLiteral("truncated.jpg")}) {
        QImage picture;
        QString error;
        EXPECT_FALSE(ReadImageFile(PathOf(name), picture, error)) << name.toStdString();
        EXPECT_TRUE(error.contains(PathOf(name))) << error.toStdString();
        EXPECT_TRUE(picture.isNull()) << name.toStdString();
    }
}

} // namespace
