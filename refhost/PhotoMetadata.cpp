#include "refhost/PhotoMetadata.h"

#include <QBuffer>
#include <QImageWriter>

#include <exiv2/exiv2.hpp>

#include <cmath>
#include <mutex>
#include <string>

struct CPhotoMetadata::Blocks {
    Exiv2::ExifData exif;
    Exiv2::IptcData iptc;
    Exiv2::XmpData xmp;
};

namespace {

constexpr double kMetresPerInch = 0.0254;
constexpr int kNormalOrientation = 1;
constexpr QSize kThumbnailBox(160, 120);
constexpr int kThumbnailQuality = 80;

// Exiv2 reports what it stumbles over through one process-wide handler; while a
// file is read the reports are gathered here, to judge the blocks by.
struct LibraryReports {
    std::mutex lock;
    QStringList damages;  // errors, and the warnings of a block the library gave up on
};

LibraryReports& Reports()
{
    static LibraryReports reports;
    return reports;
}

void GatherReport(int level, const char* text)
{
    const QString line = QString::fromUtf8(text).trimmed();
    if (level >= Exiv2::LogMsg::error || line.contains(QLatin1String("Failed to decode"), Qt::CaseInsensitive)) {
        Reports().damages << line;
    }
}

// The reports made during one read; holds the library's handler meanwhile.
class ReportGathering {
public:
    ReportGathering() : m_hold(Reports().lock)
    {
        Reports().damages.clear();
        m_previous = Exiv2::LogMsg::handler();
        m_previousLevel = Exiv2::LogMsg::level();
        Exiv2::LogMsg::setHandler(&GatherReport);
        Exiv2::LogMsg::setLevel(Exiv2::LogMsg::warn);
    }
    ~ReportGathering()
    {
        Exiv2::LogMsg::setHandler(m_previous);
        Exiv2::LogMsg::setLevel(m_previousLevel);
    }
    ReportGathering(const ReportGathering&) = delete;
    ReportGathering& operator=(const ReportGathering&) = delete;

    const QStringList& Damages() const { return Reports().damages; }

private:
    std::lock_guard<std::mutex> m_hold;
    Exiv2::LogMsg::Handler m_previous = nullptr;
    Exiv2::LogMsg::Level m_previousLevel = Exiv2::LogMsg::warn;
};

enum class Block { Exif, Iptc, Xmp };

// XMP's and IPTC's reports name their block; the rest come from EXIF's TIFF structure.
Block BlockOf(const QString& report)
{
    if (report.contains(QLatin1String("XMP"), Qt::CaseInsensitive)) return Block::Xmp;
    if (report.contains(QLatin1String("IPTC"), Qt::CaseInsensitive) ||
        report.contains(QLatin1String("Photoshop"), Qt::CaseInsensitive)) {
        return Block::Iptc;
    }
    return Block::Exif;
}

// The first report about block; empty when the block is sound.
QString DamageOf(const QStringList& reports, Block block)
{
    for (const QString& report : reports) {
        if (BlockOf(report) == block) return report;
    }
    return QString();
}

// The XMP toolkit wants one set-up per process before any thread uses it.
void InitializeLibrary()
{
    static std::once_flag once;
    std::call_once(once, [] { Exiv2::XmpParser::initialize(); });
}

QString Printed(const Exiv2::ExifData& exif, Exiv2::ExifData::const_iterator found)
{
    if (found == exif.end()) return QString();
    return QString::fromStdString(found->print(&exif)).trimmed();
}

bool ContainsGroup(const Exiv2::ExifData& exif, const char* group)
{
    for (const Exiv2::Exifdatum& datum : exif) {
        if (datum.groupName() == group) return true;
    }
    return false;
}

bool HasThumbnail(const Exiv2::ExifData& exif)
{
    const char* type = Exiv2::ExifThumbC(exif).mimeType();
    return (type != nullptr && *type != '\0') ||
           exif.findKey(Exiv2::ExifKey("Exif.Thumbnail.JPEGInterchangeFormat")) != exif.end();
}

// Whole dots per inch as a rational of the resolution tags.
Exiv2::URationalValue InchResolution(int dotsPerMetre)
{
    Exiv2::URationalValue value;
    value.value_.emplace_back(static_cast<uint32_t>(std::lround(dotsPerMetre * kMetresPerInch)), 1U);
    return value;
}

QByteArray JpegThumbnail(const QImage& picture)
{
    const QImage small = picture.scaled(kThumbnailBox, Qt::KeepAspectRatio, Qt::SmoothTransformation)
                             .convertToFormat(QImage::Format_RGB32);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setQuality(kThumbnailQuality);
    return writer.write(small) ? bytes : QByteArray();
}

// The EXIF of the written picture: turned as it shows, its own size, resolution and
// thumbnail.
Exiv2::ExifData ExifFor(const Exiv2::ExifData& original, const QImage& picture)
{
    Exiv2::ExifData exif = original;
    exif["Exif.Image.Orientation"] = static_cast<uint16_t>(kNormalOrientation);
    exif["Exif.Photo.PixelXDimension"] = static_cast<uint32_t>(picture.width());
    exif["Exif.Photo.PixelYDimension"] = static_cast<uint32_t>(picture.height());
    if (picture.dotsPerMeterX() > 0 && picture.dotsPerMeterY() > 0) {
        exif["Exif.Image.XResolution"] = InchResolution(picture.dotsPerMeterX());
        exif["Exif.Image.YResolution"] = InchResolution(picture.dotsPerMeterY());
        exif["Exif.Image.ResolutionUnit"] = static_cast<uint16_t>(2);  // inches
    }
    // The profile travels on its own; the file's structure is the writer's.
    for (const char* key : {"Exif.Image.InterColorProfile", "Exif.Image.ImageWidth", "Exif.Image.ImageLength"}) {
        const auto found = exif.findKey(Exiv2::ExifKey(key));
        if (found != exif.end()) exif.erase(found);
    }
    Exiv2::ExifThumb thumbnail(exif);
    if (HasThumbnail(exif)) {
        thumbnail.erase();
        const QByteArray small = JpegThumbnail(picture);
        if (!small.isEmpty()) {
            thumbnail.setJpegThumbnail(reinterpret_cast<const Exiv2::byte*>(small.constData()),
                                       static_cast<long>(small.size()));
        }
    }
    return exif;
}

Exiv2::XmpData XmpFor(const Exiv2::XmpData& original, const QImage& picture)
{
    Exiv2::XmpData xmp = original;
    // Only what the packet already says is brought up to date.
    const auto update = [&xmp](const char* key, const std::string& value) {
        if (xmp.findKey(Exiv2::XmpKey(key)) != xmp.end()) xmp[key] = value;
    };
    update("Xmp.tiff.Orientation", std::to_string(kNormalOrientation));
    update("Xmp.exif.PixelXDimension", std::to_string(picture.width()));
    update("Xmp.exif.PixelYDimension", std::to_string(picture.height()));
    update("Xmp.tiff.ImageWidth", std::to_string(picture.width()));
    update("Xmp.tiff.ImageLength", std::to_string(picture.height()));
    return xmp;
}

bool Writes(const Exiv2::Image& image, Exiv2::MetadataId block)
{
    return (image.checkMode(block) & Exiv2::amWrite) != 0;
}

} // namespace

QList<PhotoFactLine> ExifFactLines(const PhotoFacts& facts)
{
    const QList<PhotoFactLine> all = {
        {"make", QObject::tr("Camera make"), facts.make},
        {"model", QObject::tr("Camera model"), facts.model},
        {"lens", QObject::tr("Lens"), facts.lens},
        {"exposure_time", QObject::tr("Exposure time"), facts.exposureTime},
        {"f_number", QObject::tr("F-number"), facts.fNumber},
        {"iso", QObject::tr("ISO"), facts.iso},
        {"focal_length", QObject::tr("Focal length"), facts.focalLength},
        {"date_taken", QObject::tr("Date taken"), facts.dateTaken},
    };
    QList<PhotoFactLine> set;
    for (const PhotoFactLine& line : all) {
        if (!line.value.isEmpty()) set << line;
    }
    return set;
}

CPhotoMetadata::CPhotoMetadata() : m_blocks(std::make_shared<Blocks>()) {}

CPhotoMetadata CPhotoMetadata::Read(const QByteArray& file, const QImage& decoded, QStringList& warnings)
{
    InitializeLibrary();
    CPhotoMetadata metadata;
    metadata.m_colorSpace = decoded.colorSpace();
    auto blocks = std::make_shared<Blocks>();
    bool profileInFile = false;
    try {
        ReportGathering reports;
        auto image = Exiv2::ImageFactory::open(reinterpret_cast<const Exiv2::byte*>(file.constData()),
                                               static_cast<long>(file.size()));
        image->readMetadata();
        profileInFile = image->iccProfileDefined();
        // Qt's turning of a photo taken sideways does not carry the colour space along.
        if (profileInFile) {
            const Exiv2::DataBuf* profile = image->iccProfile();
            metadata.m_colorSpace = QColorSpace::fromIccProfile(
                QByteArray(reinterpret_cast<const char*>(profile->pData_), static_cast<qsizetype>(profile->size_)));
        }
        const QStringList& damages = reports.Damages();
        const auto keep = [&](Block block, const char* name, const auto& take) {
            const QString damage = DamageOf(damages, block);
            if (damage.isEmpty()) {
                take();
            } else {
                warnings << QObject::tr("the %1 block is damaged and is left out (%2)").arg(QLatin1String(name), damage);
            }
        };
        keep(Block::Exif, "EXIF", [&] { blocks->exif = image->exifData(); });
        keep(Block::Iptc, "IPTC", [&] { blocks->iptc = image->iptcData(); });
        keep(Block::Xmp, "XMP", [&] { blocks->xmp = image->xmpData(); });
    } catch (const Exiv2::AnyError& failure) {
        blocks = std::make_shared<Blocks>();
        warnings << QObject::tr("the metadata cannot be read and is left out (%1)")
                        .arg(QString::fromStdString(failure.what()).trimmed());
    } catch (const std::exception& failure) {
        blocks = std::make_shared<Blocks>();
        warnings << QObject::tr("the metadata cannot be read and is left out (%1)").arg(QString::fromUtf8(failure.what()));
    }
    if (profileInFile && !metadata.m_colorSpace.isValid()) {
        warnings << QObject::tr("the colour profile is damaged and is left out");
    }
    metadata.m_blocks = std::move(blocks);
    return metadata;
}

bool CPhotoMetadata::IsEmpty() const
{
    return m_blocks->exif.empty() && m_blocks->iptc.empty() && m_blocks->xmp.empty() && !m_colorSpace.isValid();
}

int CPhotoMetadata::Orientation() const
{
    const Exiv2::ExifData& exif = m_blocks->exif;
    const auto found = exif.findKey(Exiv2::ExifKey("Exif.Image.Orientation"));
    // A damaged file can give the tag no value at all, which Exiv2 answers by
    // throwing from toLong.
    if (found == exif.end() || found->count() == 0) return kNormalOrientation;
    long orientation = 0;
    try {
        orientation = found->toLong();
    } catch (const std::exception&) {
        return kNormalOrientation;
    }
    return orientation >= 1 && orientation <= 8 ? static_cast<int>(orientation) : kNormalOrientation;
}

PhotoFacts CPhotoMetadata::Facts() const
{
    const Exiv2::ExifData& exif = m_blocks->exif;
    PhotoFacts facts;
    facts.hasExif = !exif.empty();
    facts.hasIptc = !m_blocks->iptc.empty();
    facts.hasXmp = !m_blocks->xmp.empty();
    if (exif.empty()) return facts;
    if (exif.findKey(Exiv2::ExifKey("Exif.Image.Orientation")) != exif.end()) facts.orientation = Orientation();
    facts.make = Printed(exif, Exiv2::make(exif));
    facts.model = Printed(exif, Exiv2::model(exif));
    facts.lens = Printed(exif, Exiv2::lensName(exif));
    facts.exposureTime = Printed(exif, Exiv2::exposureTime(exif));
    facts.fNumber = Printed(exif, Exiv2::fNumber(exif));
    facts.iso = Printed(exif, Exiv2::isoSpeed(exif));
    facts.focalLength = Printed(exif, Exiv2::focalLength(exif));
    facts.dateTaken = Printed(exif, Exiv2::dateTimeOriginal(exif));
    facts.hasGps = ContainsGroup(exif, "GPSInfo");
    facts.hasThumbnail = HasThumbnail(exif);
    return facts;
}

bool CPhotoMetadata::AddTo(QByteArray& encoded, const QImage& picture, QStringList& notes, QString& error) const
{
    InitializeLibrary();
    const Blocks& blocks = *m_blocks;
    if (blocks.exif.empty() && blocks.iptc.empty() && blocks.xmp.empty()) return true;
    const auto* bytes = reinterpret_cast<const Exiv2::byte*>(encoded.constData());
    const auto size = static_cast<long>(encoded.size());
    if (Exiv2::ImageFactory::getType(bytes, size) == Exiv2::ImageType::none) {
        notes << QObject::tr("this file format cannot hold the photo's metadata; it is left out");
        return true;
    }
    try {
        auto image = Exiv2::ImageFactory::open(bytes, size);
        // What the picture's writer put in (its colour profile) stays.
        image->readMetadata();
        bool changed = false;
        const auto put = [&](Exiv2::MetadataId block, bool present, const QString& name, const auto& store) {
            if (!present) return;
            if (Writes(*image, block)) {
                store();
                changed = true;
            } else {
                notes << QObject::tr("this file format cannot hold %1; it is left out").arg(name);
            }
        };
        put(Exiv2::mdExif, !blocks.exif.empty(), QStringLiteral("EXIF"),
            [&] { image->setExifData(ExifFor(blocks.exif, picture)); });
        put(Exiv2::mdIptc, !blocks.iptc.empty(), QStringLiteral("IPTC"), [&] { image->setIptcData(blocks.iptc); });
        put(Exiv2::mdXmp, !blocks.xmp.empty(), QStringLiteral("XMP"),
            [&] { image->setXmpData(XmpFor(blocks.xmp, picture)); });
        if (!changed) return true;
        image->writeMetadata();
        Exiv2::BasicIo& io = image->io();
        if (io.open() != 0) throw Exiv2::Error(Exiv2::kerDataSourceOpenFailed, io.path());
        const long writtenSize = io.size();
        QByteArray written(static_cast<qsizetype>(writtenSize), Qt::Uninitialized);
        const long read = io.read(reinterpret_cast<Exiv2::byte*>(written.data()), writtenSize);
        io.close();
        if (read != writtenSize) throw Exiv2::Error(Exiv2::kerFailedToReadImageData);
        encoded = std::move(written);
        return true;
    } catch (const Exiv2::AnyError& failure) {
        error = QObject::tr("cannot add the photo's metadata (%1)").arg(QString::fromStdString(failure.what()).trimmed());
    } catch (const std::exception& failure) {
        error = QObject::tr("cannot add the photo's metadata (%1)").arg(QString::fromUtf8(failure.what()));
    }
    return false;
}
