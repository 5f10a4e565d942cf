#include "apps/cli/PhotoReading.h"

#include "refhost/ImageConversion.h"
#include "refhost/ImageFile.h"

#include <cstdio>
#include <filesystem>

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

bool IsSameFile(const std::string& a, const std::string& b)
{
    std::error_code error;
    if (std::filesystem::equivalent(a, b, error)) return true;
    return std::filesystem::weakly_canonical(a, error) == std::filesystem::weakly_canonical(b, error);
}
