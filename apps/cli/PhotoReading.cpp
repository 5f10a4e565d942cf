#include "apps/cli/PhotoReading.h"

#include "refhost/ImageConversion.h"
#include "refhost/ImageFile.h"

#include <cstdio>

CComPtr<CHostImage> ReadPhoto(const std::string& path, QImage& picture)
{
    QString readError;
    if (!ReadImageFile(QString::fromStdString(path), picture, readError)) {
        std::fprintf(stderr, "basicfilters: %s\n", readError.toStdString().c_str());
        return {};
    }
    auto photo = CComPtr<CHostImage>::Adopt(ImageFromQImage(picture));
    if (!photo) std::fprintf(stderr, "basicfilters: not enough memory for '%s'\n", path.c_str());
    return photo;
}
