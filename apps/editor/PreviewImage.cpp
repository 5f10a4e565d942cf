#include "apps/editor/PreviewImage.h"

#include "refhost/ImageConversion.h"

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
