#include "apps/cli/PhotoReading.h"

#include "refhost/ImageConversion.h"
#include "refhost/ImageFile.h"

#include <cstdio>

CComPtr<CHostImage> ReadPhoto(const std::string& path, QImage& picture, CPhotoMetadata* metadata)
{
    const QString file = QString::fromStdString(path);
    QString readError;
    QStringList warnings;
    const bool read = metadata != nullptr ? ReadPhotoFile(file, picture, *metadata, warnings, readError)
                                          : ReadImageFile(file, picture, readError);
    if (!read) {
        std::fprintf(stderr, "basicfilters: %s\n", readError.toStdString().c_str());
        return {};
    }
    PrintFileWarnings(path, warnings);
    auto photo = CComPtr<CHostImage>::Adopt(ImageFromQImage(picture));
    if (!photo) std::fprintf(stderr, "basicfilters: not enough memory for '%s'\n", path.c_str());
    return photo;
}

void PrintFileWarnings(const std::string& path, const QStringList& lines)
{
    for (const QString& line : lines) {
        std::fprintf(stderr, "basicfilters: warning: '%s': %s\n", path.c_str(), line.toStdString().c_str());
    }
}
