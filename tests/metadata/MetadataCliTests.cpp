// A camera photo through the command-line tool: what the written file keeps, how it
// is turned, and what info tells about it.

#include "tests/CliRunner.h"
#include "tests/metadata/MetadataPhotos.h"

#include <gtest/gtest.h>

#include <QJsonDocument>
#include <QJsonObject>

namespace {

constexpr int kJpegTolerance = 12;

QRgb Inverted(QRgb colour)
{
    return qRgb(255 - qRed(colour), 255 - qGreen(colour), 255 - qBlue(colour));
}

// Every pixel away from the blocks' borders, where JPEG's blur cannot reach.
bool ShowsTurnedInverted(const QImage& shown, std::string& mismatch)
{
    for (int y = 0; y < shown.height(); ++y) {
        for (int x = 0; x < shown.width(); ++x) {
            const int fromEdgeX = std::min(std::abs(x - shown.width() / 2), std::min(x, shown.width() - 1 - x));
            const int fromEdgeY = std::min(std::abs(y - shown.height() / 2), std::min(y, shown.height() - 1 - y));
            if (fromEdgeX < 4 || fromEdgeY < 4) continue;
            if (!Near(shown.pixel(x, y), Inverted(ShownColour(x, y)), kJpegTolerance)) {
                mismatch = "pixel " + std::to_string(x) + "," + std::to_string(y);
                return false;
            }
        }
    }
    return true;
}

class MetadataCli : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_directory.isValid());
        ASSERT_TRUE(WriteCameraPhoto(m_photo));
    }

    QString Path(const char* name) const { return m_directory.filePath(QString::fromLatin1(name)); }

    RunResult Apply(const QString& filter, const QString& output, const QStringList& settings = {}) const
    {
        QStringList arguments{QStringLiteral("apply"), filter, m_photo, output, QStringLiteral("-q")};
        for (const QString& setting : settings) arguments << QStringLiteral("--set") << setting;
        return RunCli(arguments);
    }

    QTemporaryDir m_directory;
    QString m_photo = m_directory.filePath(QStringLiteral("camera.jpg"));
};

TEST_F(MetadataCli, ApplyKeepsEveryFieldWritesOrientationNormalAndTurnsThePixelsOnce)
{
    const QByteArray before = FileBytes(m_photo);
    const QString output = Path("out.jpg");
    const RunResult run = Apply(QStringLiteral("Invert"), output);
    ASSERT_EQ(run.exitCode, 0) << Describe(run);
    EXPECT_EQ(FileBytes(m_photo), before) << "the input file was changed";

    const std::optional<FoundMetadata> found = ReadMetadata(output);
    ASSERT_TRUE(found.has_value());
    const Exiv2::ExifData& exif = found->exif;
    EXPECT_EQ(ExifText(exif, "Exif.Image.Make"), "Fictional Optics");
    EXPECT_EQ(ExifText(exif, "Exif.Image.Model"), "FO-1");
    EXPECT_EQ(ExifText(exif, "Exif.Photo.LensModel"), "FO 35mm F2");
    EXPECT_EQ(ExifText(exif, "Exif.Photo.ExposureTime"), "1/125");
    EXPECT_EQ(ExifText(exif, "Exif.Photo.FNumber"), "28/10");
    EXPECT_EQ(ExifText(exif, "Exif.Photo.ISOSpeedRatings"), "200");
    EXPECT_EQ(ExifText(exif, "Exif.Photo.FocalLength"), "35/1");
    EXPECT_EQ(ExifText(exif, "Exif.Photo.DateTimeOriginal"), "2024:06:01 10:20:30");
    EXPECT_EQ(ExifText(exif, "Exif.GPSInfo.GPSLatitudeRef"), "N");
    EXPECT_EQ(ExifText(exif, "Exif.GPSInfo.GPSLatitude"), "48/1 51/1 2400/100");
    EXPECT_EQ(ExifText(exif, "Exif.GPSInfo.GPSLongitude"), "2/1 21/1 300/100");
    EXPECT_EQ(XmpText(found->xmp, "Xmp.xmp.Rating"), "4");
    const auto keyword = found->iptc.findKey(Exiv2::IptcKey("Iptc.Application2.Keywords"));
    ASSERT_NE(keyword, found->iptc.end());
    EXPECT_EQ(keyword->toString(), "harbour");

    // Shown upright already: the tag says so, and the stored pixels are the turned ones.
    EXPECT_EQ(ExifText(exif, "Exif.Image.Orientation"), "1");
    EXPECT_EQ(ExifText(exif, "Exif.Photo.PixelXDimension"), std::to_string(kStoredHeight));
    EXPECT_EQ(ExifText(exif, "Exif.Photo.PixelYDimension"), std::to_string(kStoredWidth));
    const QImage stored = StoredPixels(output);
    ASSERT_EQ(stored.size(), QSize(kStoredHeight, kStoredWidth));
    std::string mismatch;
    EXPECT_TRUE(ShowsTurnedInverted(stored, mismatch)) << mismatch;

    // The profile comes along, and so does a thumbnail of what the file now shows.
    EXPECT_EQ(QImage(output).colorSpace(), TestProfile());
    EXPECT_EQ(QImage(output).colorSpace().description(), QString::fromLatin1(kProfileName));
    const Exiv2::DataBuf thumbnailBytes = Exiv2::ExifThumbC(exif).copy();
    const QImage thumbnail = QImage::fromData(thumbnailBytes.pData_, static_cast<int>(thumbnailBytes.size_));
    ASSERT_FALSE(thumbnail.isNull());
    EXPECT_LT(thumbnail.width(), thumbnail.height());
    const QPoint topLeftBlock(thumbnail.width() / 4, thumbnail.height() / 4);
    EXPECT_TRUE(Near(thumbnail.pixel(topLeftBlock), Inverted(ShownColour(kStoredHeight / 4, kStoredWidth / 4)), 40));
}

TEST_F(MetadataCli, ResizeWritesTheNewSizeAndResolutionIntoExif)
{
    const QString smaller = Path("small.jpg");
    const RunResult resized = Apply(QStringLiteral("Resize"), smaller,
                                    {QStringLiteral("ResizerWidth=16"), QStringLiteral("ResizerHeight=32")});
    ASSERT_EQ(resized.exitCode, 0) << Describe(resized);
    std::optional<FoundMetadata> found = ReadMetadata(smaller);
    ASSERT_TRUE(found.has_value());
    EXPECT_EQ(QImage(smaller).size(), QSize(16, 32));
    EXPECT_EQ(ExifText(found->exif, "Exif.Photo.PixelXDimension"), "16");
    EXPECT_EQ(ExifText(found->exif, "Exif.Photo.PixelYDimension"), "32");
    EXPECT_EQ(ExifText(found->exif, "Exif.Image.Make"), "Fictional Optics");

    // Resolution only: the pixels stay, the dots per inch the filter set are written.
    const QString printed = Path("printed.jpg");
    const RunResult relabelled =
        Apply(QStringLiteral("Resize"), printed,
              {QStringLiteral("ResizerMode=0"), QStringLiteral("ResizerResolutionX=150"),
               QStringLiteral("ResizerResolutionY=72")});
    ASSERT_EQ(relabelled.exitCode, 0) << Describe(relabelled);
    found = ReadMetadata(printed);
    ASSERT_TRUE(found.has_value());
    EXPECT_EQ(QImage(printed).size(), QSize(kStoredHeight, kStoredWidth));
    EXPECT_EQ(ExifText(found->exif, "Exif.Image.XResolution"), "150/1");
    EXPECT_EQ(ExifText(found->exif, "Exif.Image.YResolution"), "72/1");
    EXPECT_EQ(ExifText(found->exif, "Exif.Image.ResolutionUnit"), "2");
    EXPECT_EQ(ExifText(found->exif, "Exif.Photo.PixelXDimension"), std::to_string(kStoredHeight));
}

TEST_F(MetadataCli, PngKeepsTheProfileAndXmpAndBmpSaysWhatItLeavesOut)
{
    const QString png = Path("out.png");
    const RunResult run = Apply(QStringLiteral("Invert"), png);
    ASSERT_EQ(run.exitCode, 0) << Describe(run);
    const QImage written(png);
    EXPECT_EQ(written.colorSpace(), TestProfile());
    EXPECT_EQ(written.colorSpace().description(), QString::fromLatin1(kProfileName));
    const std::optional<FoundMetadata> found = ReadMetadata(png);
    ASSERT_TRUE(found.has_value());
    EXPECT_EQ(XmpText(found->xmp, "Xmp.xmp.Rating"), "4");
    EXPECT_EQ(ExifText(found->exif, "Exif.Image.Model"), "FO-1");
    EXPECT_EQ(ExifText(found->exif, "Exif.Image.Orientation"), "1");
    std::string mismatch;
    EXPECT_TRUE(ShowsTurnedInverted(StoredPixels(png), mismatch)) << mismatch;

    const QString bmp = Path("out.bmp");
    const RunResult plain = Apply(QStringLiteral("Invert"), bmp);
    ASSERT_EQ(plain.exitCode, 0) << Describe(plain);
    EXPECT_EQ(QImage(bmp).size(), QSize(kStoredHeight, kStoredWidth));
    EXPECT_TRUE(plain.err.contains("cannot hold")) << Describe(plain);
}

// Qt turns JPEG photos itself but leaves PNG ones as stored; either way OUT is
// turned once and says so.
TEST_F(MetadataCli, PngPhotosAreTurnedOnceForEveryOrientation)
{
    for (int orientation = 1; orientation <= 8; ++orientation) {
        SCOPED_TRACE("orientation " + std::to_string(orientation));
        const QString photo = Path("camera.png");
        ASSERT_TRUE(WriteCameraPhoto(photo, static_cast<uint16_t>(orientation)));
        const QString output = Path("out.png");
        const RunResult run = RunCli({QStringLiteral("apply"), QStringLiteral("Invert"), photo, output});
        ASSERT_EQ(run.exitCode, 0) << Describe(run);
        const QImage stored = StoredPixels(output);
        const bool sideways = orientation >= 5;
        ASSERT_EQ(stored.size(), sideways ? QSize(kStoredHeight, kStoredWidth) : QSize(kStoredWidth, kStoredHeight));
        int wrong = 0;
        for (int y = 0; y < stored.height(); ++y) {
            for (int x = 0; x < stored.width(); ++x) {
                const QPoint from = StoredPointOf(orientation, x, y);
                if (stored.pixel(x, y) != Inverted(StoredColour(from.x(), from.y()))) ++wrong;
            }
        }
        EXPECT_EQ(wrong, 0);
        const std::optional<FoundMetadata> found = ReadMetadata(output);
        ASSERT_TRUE(found.has_value());
        EXPECT_EQ(ExifText(found->exif, "Exif.Image.Orientation"), "1");
    }
}

TEST_F(MetadataCli, TiffAndWebpKeepWhatTheirFormatsHold)
{
    struct Expected {
        const char* name;
        bool iptc;
    };
    for (const Expected format : {Expected{"out.tif", true}, Expected{"out.webp", false}}) {
        SCOPED_TRACE(format.name);
        const QString output = Path(format.name);
        const RunResult run = Apply(QStringLiteral("Invert"), output);
        ASSERT_EQ(run.exitCode, 0) << Describe(run);
        EXPECT_EQ(QImage(output).colorSpace(), TestProfile());
        const std::optional<FoundMetadata> found = ReadMetadata(output);
        ASSERT_TRUE(found.has_value());
        EXPECT_EQ(ExifText(found->exif, "Exif.Image.Model"), "FO-1");
        EXPECT_EQ(ExifText(found->exif, "Exif.GPSInfo.GPSLatitudeRef"), "N");
        EXPECT_EQ(ExifText(found->exif, "Exif.Image.Orientation"), "1");
        EXPECT_EQ(XmpText(found->xmp, "Xmp.xmp.Rating"), "4");
        EXPECT_EQ(!found->iptc.empty(), format.iptc);
        EXPECT_EQ(run.err.contains("IPTC"), !format.iptc) << Describe(run);
    }
}

TEST_F(MetadataCli, TruncatedExifIsLeftOutWithAWarningAndThePhotoIsStillFiltered)
{
    const QByteArray cut = WithTruncatedExif(FileBytes(m_photo), 60);
    ASSERT_FALSE(cut.isEmpty());
    ASSERT_TRUE(WriteBytes(m_photo, cut));
    const QString output = Path("out.jpg");
    const RunResult run = Apply(QStringLiteral("Invert"), output);
    ASSERT_EQ(run.exitCode, 0) << Describe(run);
    EXPECT_TRUE(run.err.contains("warning")) << Describe(run);
    EXPECT_TRUE(run.err.contains("EXIF")) << Describe(run);

    const QImage written(output);
    ASSERT_FALSE(written.isNull());
    EXPECT_TRUE(Near(written.pixel(2, 2), Inverted(StoredPicture().pixel(2, 2)), kJpegTolerance) ||
                Near(written.pixel(2, 2), Inverted(ShownColour(2, 2)), kJpegTolerance));
    // What is written back reads cleanly: no EXIF, the sound blocks kept.
    const std::optional<FoundMetadata> found = ReadMetadata(output);
    ASSERT_TRUE(found.has_value());
    EXPECT_TRUE(found->exif.empty());
    EXPECT_EQ(XmpText(found->xmp, "Xmp.xmp.Rating"), "4");
    const RunResult info = RunCli({QStringLiteral("info"), output});
    EXPECT_EQ(info.exitCode, 0) << Describe(info);
    EXPECT_FALSE(info.err.contains("warning")) << Describe(info);
}

TEST_F(MetadataCli, DamagedXmpIsLeftOutAndTheOtherBlocksKept)
{
    QByteArray photo = FileBytes(m_photo);
    const int tag = photo.indexOf("<rdf:RDF");
    ASSERT_GE(tag, 0);
    photo.replace(tag, 8, "<rdf:RD<");  // same length: the segment stays well formed
    ASSERT_TRUE(WriteBytes(m_photo, photo));
    const QString output = Path("out.jpg");
    const RunResult run = Apply(QStringLiteral("Invert"), output);
    ASSERT_EQ(run.exitCode, 0) << Describe(run);
    EXPECT_TRUE(run.err.contains("XMP")) << Describe(run);
    const std::optional<FoundMetadata> found = ReadMetadata(output);
    ASSERT_TRUE(found.has_value());
    EXPECT_TRUE(found->xmp.empty());
    EXPECT_EQ(ExifText(found->exif, "Exif.Image.Model"), "FO-1");
    EXPECT_EQ(ExifText(found->exif, "Exif.Image.Orientation"), "1");
    EXPECT_FALSE(found->iptc.empty());
}

TEST_F(MetadataCli, InfoTellsSizeOrientationResolutionProfileAndCameraFields)
{
    const RunResult json = RunCli({QStringLiteral("info"), m_photo, QStringLiteral("--json")});
    ASSERT_EQ(json.exitCode, 0) << Describe(json);
    const QJsonObject object = QJsonDocument::fromJson(json.out).object();
    EXPECT_EQ(object.value(QStringLiteral("format")).toString(), QStringLiteral("jpeg"));
    EXPECT_EQ(object.value(QStringLiteral("width")).toInt(), kStoredHeight);
    EXPECT_EQ(object.value(QStringLiteral("height")).toInt(), kStoredWidth);
    EXPECT_EQ(object.value(QStringLiteral("stored_width")).toInt(), kStoredWidth);
    EXPECT_EQ(object.value(QStringLiteral("orientation")).toInt(), 6);
    EXPECT_EQ(object.value(QStringLiteral("resolution_x")).toInt(), kPhotoDpi);
    EXPECT_EQ(object.value(QStringLiteral("colour_profile")).toString(), QString::fromLatin1(kProfileName));
    EXPECT_TRUE(object.value(QStringLiteral("gps")).toBool());
    EXPECT_TRUE(object.value(QStringLiteral("has_xmp")).toBool());
    const QJsonObject exif = object.value(QStringLiteral("exif")).toObject();
    EXPECT_EQ(exif.value(QStringLiteral("make")).toString(), QStringLiteral("Fictional Optics"));
    EXPECT_EQ(exif.value(QStringLiteral("lens")).toString(), QStringLiteral("FO 35mm F2"));
    EXPECT_EQ(exif.value(QStringLiteral("exposure_time")).toString(), QStringLiteral("1/125 s"));
    EXPECT_EQ(exif.value(QStringLiteral("f_number")).toString(), QStringLiteral("F2.8"));
    EXPECT_EQ(exif.value(QStringLiteral("iso")).toString(), QStringLiteral("200"));
    EXPECT_EQ(exif.value(QStringLiteral("focal_length")).toString(), QStringLiteral("35.0 mm"));
    EXPECT_EQ(exif.value(QStringLiteral("date_taken")).toString(), QStringLiteral("2024:06:01 10:20:30"));

    const RunResult text = RunCli({QStringLiteral("info"), m_photo});
    ASSERT_EQ(text.exitCode, 0) << Describe(text);
    EXPECT_TRUE(text.out.contains("size: 32 x 64 px (stored 64 x 32)")) << Describe(text);
    EXPECT_TRUE(text.out.contains("orientation: 6 (turned 90 degrees clockwise)")) << Describe(text);
    EXPECT_TRUE(text.out.contains("camera model: FO-1")) << Describe(text);
    EXPECT_TRUE(text.out.contains("GPS position: yes")) << Describe(text);

    const RunResult missing = RunCli({QStringLiteral("info"), Path("none.jpg")});
    EXPECT_EQ(missing.exitCode, 3) << Describe(missing);
}

} // namespace
