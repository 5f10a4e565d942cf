#include "apps/editor/SaveFormats.h"

#include <QImageWriter>

namespace {

struct SaveFormat {
    const char* name;
    QStringList suffixes;  // the first is the one added to a bare file name
    bool takesQuality;
};

const QList<SaveFormat>& KnownFormats()
{
    static const QList<SaveFormat> formats = {
        {"PNG image", {QStringLiteral("png")}, false},
        {"JPEG image", {QStringLiteral("jpg"), QStringLiteral("jpeg")}, true},
        {"BMP image", {QStringLiteral("bmp")}, false},
        {"TIFF image", {QStringLiteral("tif"), QStringLiteral("tiff")}, false},
        {"WebP image", {QStringLiteral("webp")}, true},
    };
    return formats;
}

bool IsInstalled(const SaveFormat& format)
{
    return QImageWriter::supportedImageFormats().contains(format.suffixes.first().toLatin1());
}

const SaveFormat* FormatOfSuffix(const QString& suffix)
{
    for (const SaveFormat& format : KnownFormats()) {
        if (format.suffixes.contains(suffix.toLower())) return &format;
    }
    return nullptr;
}

QString NameFilterOf(const SaveFormat& format)
{
    QStringList patterns;
    for (const QString& suffix : format.suffixes) patterns << QStringLiteral("*.") + suffix;
    return QStringLiteral("%1 (%2)").arg(QString::fromLatin1(format.name), patterns.join(u' '));
}

} // namespace

QStringList SaveNameFilters()
{
    QStringList filters;
    for (const SaveFormat& format : KnownFormats()) {
        if (IsInstalled(format)) filters << NameFilterOf(format);
    }
    return filters;
}

QString SuffixOfNameFilter(const QString& nameFilter)
{
    for (const SaveFormat& format : KnownFormats()) {
        if (NameFilterOf(format) == nameFilter) return format.suffixes.first();
    }
    return QString();
}

bool IsWritableSuffix(const QString& suffix)
{
    const SaveFormat* format = FormatOfSuffix(suffix);
    return format != nullptr && IsInstalled(*format);
}

bool TakesQuality(const QString& suffix)
{
    const SaveFormat* format = FormatOfSuffix(suffix);
    return format != nullptr && format->takesQuality;
}
