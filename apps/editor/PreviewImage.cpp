#include "apps/editor/PreviewImage.h"

#include "refhost/ImageConversion.h"

#include <cstring>

CComPtr<IImage> MakePreviewImage(IImage* photo, QSize bound, bool hasAlpha)
{
    int width = 0;
    int height = 0;
    photo->GetSize(&width, &height);
    if (width <= bound.width() && height <= bound.height()) {
        auto cloneable = CComPtr<ICloneable>::Query(photo, IID_ICloneable);
        CComPtr<IUnknown> copy;
        if (!cloneable || !cloneable->Clone(copy.Receive())) return {};
        return CComPtr<IImage>::Query(copy.Get(), IID_IImage);
    }
    const QImage reduced = QImageFromImage(photo, hasAlpha)
                               .scaled(bound.expandedTo(QSize(1, 1)), Qt::KeepAspectRatio, Qt::SmoothTransformation);
    auto preview = CComPtr<CHostImage>::Adopt(ImageFromQImage(reduced));
    if (!preview) return {};
    int horizontal = 0;
    int vertical = 0;
    photo->GetResolution(&horizontal, &vertical);
    preview->SetResolution(horizontal, vertical);
    return CComPtr<IImage>::Share(static_cast<IImage*>(preview.Get()));
}

// The image's rows run from the bottom.
QImage PartOfImage(IImage* image, const QRect& part, bool fourthByteIsAlpha)
{
    int width = 0;
    int height = 0;
    image->GetSize(&width, &height);
    const uint8_t* bits = image->GetPixels();
    if (bits == nullptr || part.isEmpty() || !QRect(0, 0, width, height).contains(part)) return {};
    QImage picture(part.size(), fourthByteIsAlpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    if (picture.isNull()) return {};
    const ptrdiff_t stride = image->GetStride();
    for (int y = 0; y < part.height(); ++y) {
        const uint8_t* row = bits + static_cast<ptrdiff_t>(height - 1 - part.y() - y) * stride;
        std::memcpy(picture.scanLine(y), row + static_cast<ptrdiff_t>(part.x()) * 4, static_cast<size_t>(part.width()) * 4);
    }
    return picture;
}
