// info: what a photo is and carries, so a user can see what a filtered copy keeps.

#include "apps/cli/Commands.h"
#include "apps/cli/PhotoReading.h"

#include <QImageReader>
#include <QJsonDocument>
#include <QJsonObject>

#include <cmath>
#include <cstdio>

namespace {

constexpr double kMetresPerInch = 0.0254;

// How the stored pixels are turned to show the photo, for each EXIF orientation.
QString OrientationText(int orientation)
{
    switch (orientation) {
    case 1: return QStringLiteral("normal");
    case 2: return QStringLiteral("mirrored left to right");
    case 3: return QStringLiteral("upside down");
    case 4: return QStringLiteral("mirrored top to bottom");
    case 5: return QStringLiteral("mirrored, then turned 90 degrees clockwise");
    case 6: return QStringLiteral("turned 90 degrees clockwise");
    case 7: return QStringLiteral("flipped, then turned 90 degrees clockwise");
    case 8: return QStringLiteral("turned 90 degrees counter-clockwise");
    default: return QStringLiteral("none given");
    }
}

int DotsPerInch(int dotsPerMetre)
{
    return static_cast<int>(std::lround(dotsPerMetre * kMetresPerInch));
}

struct PhotoInfo {
    QString format;
    QSize stored;
    QImage picture;
    PhotoFacts facts;
    QString profile;  // empty when the photo has none
};

QString YesNo(bool yes)
{
    return yes ? QStringLiteral("yes") : QStringLiteral("no");
}

void PrintText(const std::string& path, const PhotoInfo& info)
{
    const QImage& picture = info.picture;
    QString text = QStringLiteral("file: %1\nformat: %2\nsize: %3 x %4 px")
                       .arg(QString::fromStdString(path), info.format)
                       .arg(picture.width())
                       .arg(picture.height());
    if (info.stored != picture.size()) {
        text += QStringLiteral(" (stored %1 x %2)").arg(info.stored.width()).arg(info.stored.height());
    }
    text += QStringLiteral("\norientation: ");
    text += info.facts.orientation > 0 ? QStringLiteral("%1 (%2)").arg(info.facts.orientation)
                                                                  .arg(OrientationText(info.facts.orientation))
                                       : OrientationText(0);
    text += QStringLiteral("\nresolution: %1 x %2 dpi")
                .arg(DotsPerInch(picture.dotsPerMeterX()))
                .arg(DotsPerInch(picture.dotsPerMeterY()));
    text += QStringLiteral("\ncolour profile: %1").arg(info.profile.isEmpty() ? QStringLiteral("none") : info.profile);
    for (const PhotoFactLine& line : ExifFactLines(info.facts)) {
        text += QStringLiteral("\n%1: %2").arg(line.label.toLower(), line.value);
    }
    text += QStringLiteral("\nGPS position: %1").arg(YesNo(info.facts.hasGps));
    text += QStringLiteral("\nmetadata: EXIF %1, IPTC %2, XMP %3, EXIF thumbnail %4\n")
                .arg(YesNo(info.facts.hasExif), YesNo(info.facts.hasIptc), YesNo(info.facts.hasXmp),
                     YesNo(info.facts.hasThumbnail));
    std::fputs(text.toStdString().c_str(), stdout);
}

void PrintJson(const std::string& path, const PhotoInfo& info)
{
    const QImage& picture = info.picture;
    QJsonObject exif;
    for (const PhotoFactLine& line : ExifFactLines(info.facts)) exif.insert(QLatin1String(line.key), line.value);
    const QJsonObject object{
        {QStringLiteral("file"), QString::fromStdString(path)},
        {QStringLiteral("format"), info.format},
        {QStringLiteral("width"), picture.width()},
        {QStringLiteral("height"), picture.height()},
        {QStringLiteral("stored_width"), info.stored.width()},
        {QStringLiteral("stored_height"), info.stored.height()},
        {QStringLiteral("orientation"), info.facts.orientation > 0 ? QJsonValue(info.facts.orientation) : QJsonValue()},
        {QStringLiteral("resolution_x"), DotsPerInch(picture.dotsPerMeterX())},
        {QStringLiteral("resolution_y"), DotsPerInch(picture.dotsPerMeterY())},
        {QStringLiteral("colour_profile"), info.profile.isEmpty() ? QJsonValue() : QJsonValue(info.profile)},
        {QStringLiteral("exif"), exif},
        {QStringLiteral("gps"), info.facts.hasGps},
        {QStringLiteral("has_exif"), info.facts.hasExif},
        {QStringLiteral("has_iptc"), info.facts.hasIptc},
        {QStringLiteral("has_xmp"), info.facts.hasXmp},
        {QStringLiteral("has_thumbnail"), info.facts.hasThumbnail},
    };
    std::fputs(QJsonDocument(object).toJson(QJsonDocument::Indented).toStdString().c_str(), stdout);
}

} // namespace

int RunInfo(const CommandLineOptions& options)
{
    if (options.operands.size() != 1) {
        std::fprintf(stderr, "basicfilters: usage: basicfilters info PHOTO [--json]\n");
        return kExitUsage;
    }
    const std::string& path = options.operands[0];
    PhotoInfo info;
    CPhotoMetadata metadata;
    if (!ReadPhoto(path, info.picture, &metadata)) return kExitFile;
    const QImageReader reader(QString::fromStdString(path));
    info.format = QString::fromLatin1(reader.format());
    info.stored = reader.size();
    info.facts = metadata.Facts();
    if (metadata.ColorSpace().isValid()) {
        info.profile = metadata.ColorSpace().description();
        if (info.profile.isEmpty()) info.profile = QStringLiteral("unnamed");
    }
    if (options.json) PrintJson(path, info);
    else PrintText(path, info);
    return kExitOk;
}
