// The hosts' decoder path on any file: the bytes decoded as a photo with its
// metadata (Qt's readers, Exiv2), turned upright, made into the module's image and
// back, and written again with the metadata added, as the command-line tool and
// the editor do. A damaged file must fail with a message or be read; nothing else.

#include "refhost/ImageConversion.h"
#include "refhost/ImageFile.h"
#include "refhost/PhotoMetadata.h"

#include "platform/ComPtr.h"

#include <QCoreApplication>
#include <QImageReader>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

// Keeps each input within a few megabytes of pixels, so that a header claiming a
// huge picture costs the run nothing.
constexpr int kAllocationLimitMegabytes = 16;

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    static QCoreApplication application(*argc, *argv);
    QImageReader::setAllocationLimit(kAllocationLimitMegabytes);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    QImage picture;
    CPhotoMetadata metadata;
    QStringList warnings;
    QString error;
    if (!ReadPhotoBytes(QStringLiteral("fuzzed"), bytes, picture, metadata, warnings, error)) {
        if (error.isEmpty()) std::abort();
        return 0;
    }
    if (picture.isNull()) std::abort();
    metadata.Facts();
    auto image = CComPtr<CHostImage>::Adopt(ImageFromQImage(picture));
    if (!image) return 0;
    if (image->Width() != picture.width() || image->Height() != picture.height()) std::abort();
    const QImage back = QImageFromImage(static_cast<IImage*>(image.Get()), picture.hasAlphaChannel());
    QByteArray written;
    QStringList notes;
    // JPEG carries every metadata block; the smallest pictures keep the run fast.
    if (back.width() * back.height() <= 256 * 256) {
        if (!EncodePhoto(back, QStringLiteral("fuzzed.jpg"), 50, metadata, written, notes, error)) std::abort();
    }
    return 0;
}
