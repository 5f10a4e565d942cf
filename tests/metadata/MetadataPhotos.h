#pragma once
// Photos as a camera and a photo manager leave them: EXIF with an orientation, a
// GPS block and a thumbnail, XMP with a rating, IPTC keywords and a colour profile,
// written with Exiv2 onto a picture Qt encodes.

#include "tests/FileBytes.h"

#include <QBuffer>
#include <QColorSpace>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QImageWriter>
#include <QString>

#include <exiv2/exiv2.hpp>

#include <cmath>
#include <optional>
#include <string>

inline constexpr int kStoredWidth = 64;
inline constexpr int kStoredHeight = 32;
inline constexpr int kPhotoDpi = 300;
inline constexpr double kInchesPerMetre = 1.0 / 0.0254;
inline const char* const kProfileName = "BasicFilters test profile";

// Four blocks of plain colour, none the turn or mirror of another: a turn shows.
inline QRgb StoredColour(int x, int y)
{
    const bool right = x >= kStoredWidth / 2;
    const bool bottom = y >= kStoredHeight / 2;
    if (!right && !bottom) return qRgb(220, 40, 40);
    if (right && !bottom) return qRgb(40, 200, 60);
    if (!right && bottom) return qRgb(40, 60, 210);
    return qRgb(230, 210, 50);
}

inline QColorSpace TestProfile()
{
    QColorSpace profile(QColorSpace::AdobeRgb);
    profile.setDescription(QString::fromLatin1(kProfileName));
    return profile;
}

inline QImage StoredPicture()
{
    QImage picture(kStoredWidth, kStoredHeight, QImage::Format_RGB32);
    for (int y = 0; y < kStoredHeight; ++y) {
        for (int x = 0; x < kStoredWidth; ++x) picture.setPixel(x, y, StoredColour(x, y));
    }
    const int dotsPerMetre = static_cast<int>(std::lround(kPhotoDpi * kInchesPerMetre));
    picture.setDotsPerMeterX(dotsPerMetre);
    picture.setDotsPerMeterY(dotsPerMetre);
    picture.setColorSpace(TestProfile());
    return picture;
}

inline QByteArray SmallJpeg(const QImage& picture)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter(&buffer, "jpeg").write(picture.scaled(16, 8));
    return bytes;
}

inline Exiv2::URationalValue Rational(uint32_t numerator, uint32_t denominator)
{
    Exiv2::URationalValue value;
    value.value_.emplace_back(numerator, denominator);
    return value;
}

// A landscape of the four blocks stored sideways (orientation 6: turned a quarter
// clockwise to show, unless another is given), with everything a camera and a
// catalogue write, in the format the suffix names.
inline bool WriteCameraPhoto(const QString& path, uint16_t orientation = 6)
{
    QImageWriter writer(path);
    writer.setQuality(100);
    if (!writer.write(StoredPicture())) return false;
    auto image = Exiv2::ImageFactory::open(path.toStdString());
    image->readMetadata();
    Exiv2::ExifData exif;
    exif["Exif.Image.Make"] = "Fictional Optics";
    exif["Exif.Image.Model"] = "FO-1";
    exif["Exif.Image.Orientation"] = orientation;
    exif["Exif.Photo.LensModel"] = "FO 35mm F2";
    exif["Exif.Photo.ExposureTime"] = Rational(1, 125);
    exif["Exif.Photo.FNumber"] = Rational(28, 10);
    exif["Exif.Photo.ISOSpeedRatings"] = uint16_t(200);
    exif["Exif.Photo.FocalLength"] = Rational(35, 1);
    exif["Exif.Photo.DateTimeOriginal"] = "2024:06:01 10:20:30";
    exif["Exif.Photo.PixelXDimension"] = uint32_t(kStoredWidth);
    exif["Exif.Photo.PixelYDimension"] = uint32_t(kStoredHeight);
    exif["Exif.GPSInfo.GPSVersionID"] = "2 3 0 0";
    exif["Exif.GPSInfo.GPSLatitudeRef"] = "N";
    Exiv2::URationalValue latitude;
    latitude.read("48/1 51/1 2400/100");
    exif["Exif.GPSInfo.GPSLatitude"] = latitude;
    exif["Exif.GPSInfo.GPSLongitudeRef"] = "E";
    Exiv2::URationalValue longitude;
    longitude.read("2/1 21/1 300/100");
    exif["Exif.GPSInfo.GPSLongitude"] = longitude;
    const QByteArray thumbnail = SmallJpeg(StoredPicture());
    Exiv2::ExifThumb(exif).setJpegThumbnail(reinterpret_cast<const Exiv2::byte*>(thumbnail.constData()),
                                            thumbnail.size());
    image->setExifData(exif);
    Exiv2::XmpData xmp;
    xmp["Xmp.xmp.Rating"] = "4";
    xmp["Xmp.dc.subject"] = "harbour";
    image->setXmpData(xmp);
    Exiv2::IptcData iptc;
    iptc["Iptc.Application2.Keywords"] = "harbour";
    image->setIptcData(iptc);
    image->writeMetadata();
    return true;
}

// The picture a viewer shows for the camera photo: the stored one turned a quarter
// clockwise, so the stored left column becomes the top row.
inline QRgb ShownColour(int x, int y)
{
    return StoredColour(y, kStoredHeight - 1 - x);
}

// Where the pixel a viewer shows at x, y of the camera photo lies in the stored
// picture, for each EXIF orientation.
inline QPoint StoredPointOf(int orientation, int x, int y)
{
    constexpr int kRight = kStoredWidth - 1;
    constexpr int kBottom = kStoredHeight - 1;
    switch (orientation) {
    case 2: return {kRight - x, y};
    case 3: return {kRight - x, kBottom - y};
    case 4: return {x, kBottom - y};
    case 5: return {y, x};
    case 6: return {y, kBottom - x};
    case 7: return {kRight - y, kBottom - x};
    case 8: return {kRight - y, x};
    default: return {x, y};
    }
}

// What Exiv2 finds in a file; nullopt when it cannot read the file at all.
struct FoundMetadata {
    Exiv2::ExifData exif;
    Exiv2::IptcData iptc;
    Exiv2::XmpData xmp;
};

inline std::optional<FoundMetadata> ReadMetadata(const QString& path)
{
    try {
        auto image = Exiv2::ImageFactory::open(path.toStdString());
        image->readMetadata();
        return FoundMetadata{image->exifData(), image->iptcData(), image->xmpData()};
    } catch (const Exiv2::AnyError&) {
        return std::nullopt;
    }
}

inline std::string ExifText(const Exiv2::ExifData& exif, const char* key)
{
    const auto found = exif.findKey(Exiv2::ExifKey(key));
    return found == exif.end() ? std::string("(missing)") : found->toString();
}

inline std::string XmpText(const Exiv2::XmpData& xmp, const char* key)
{
    const auto found = xmp.findKey(Exiv2::XmpKey(key));
    return found == xmp.end() ? std::string("(missing)") : found->toString();
}

// The JPEG's EXIF segment cut to its first `kept` bytes of TIFF data, its length
// field told so; the rest of the file is as it was.
inline QByteArray WithTruncatedExif(const QByteArray& jpeg, int kept)
{
    const QByteArray signature("Exif\0\0", 6);
    const int start = jpeg.indexOf(signature);
    if (start < 4) return QByteArray();
    const int marker = start - 4;  // FF E1, then the length's two bytes
    const int length = (static_cast<uint8_t>(jpeg[marker + 2]) << 8) | static_cast<uint8_t>(jpeg[marker + 3]);
    const int newLength = 2 + 6 + kept;
    if (newLength >= length) return QByteArray();
    QByteArray cut = jpeg.left(start + 6 + kept) + jpeg.mid(marker + 2 + length);
    cut[marker + 2] = static_cast<char>(newLength >> 8);
    cut[marker + 3] = static_cast<char>(newLength & 0xFF);
    return cut;
}

// The picture as stored, no orientation applied.
inline QImage StoredPixels(const QString& path)
{
    QImageReader reader(path);
    reader.setAutoTransform(false);
    return reader.read().convertToFormat(QImage::Format_RGB32);
}

inline bool Near(QRgb a, QRgb b, int tolerance)
{
    return std::abs(qRed(a) - qRed(b)) <= tolerance && std::abs(qGreen(a) - qGreen(b)) <= tolerance &&
           std::abs(qBlue(a) - qBlue(b)) <= tolerance;
}
