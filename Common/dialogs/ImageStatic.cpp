#include "Common/dialogs/ImageStatic.h"

#include "platform/StretchBlt.h"

#include <QImage>
#include <QPainter>

#include <algorithm>
#include <cstring>

namespace {

// A top-down copy of the image's bottom-up section, for painting.
QImage PictureOf(IImage* image)
{
    BITMAP section{};
    if (GetObjectW(image->GetBitmap(), sizeof section, &section) == 0) return {};
    QImage picture(section.bmWidth, section.bmHeight, QImage::Format_RGB32);
    for (int y = 0; y < section.bmHeight; ++y) {
        const auto* row = static_cast<const uint8_t*>(section.bmBits) +
                          static_cast<ptrdiff_t>(section.bmHeight - 1 - y) * section.bmWidthBytes;
        std::memcpy(picture.scanLine(y), row, static_cast<size_t>(section.bmWidth) * 4);
    }
    return picture;
}

} // namespace

CImageStatic::CImageStatic(QWidget* parent) : QWidget(parent) {}

void CImageStatic::SetImage(CComPtr<IImage> image)
{
    m_image = std::move(image);
    update();
}

void CImageStatic::paintEvent(QPaintEvent*)
{
    if (!m_image) return;
    const QImage picture = PictureOf(m_image.Get());
    QPainter painter(this);
    if (picture.width() < width() || picture.height() < height()) painter.fillRect(rect(), Qt::black);
    painter.drawImage((width() - picture.width()) / 2, (height() - picture.height()) / 2, picture);
}

CComPtr<IImage> MakePreviewPicture(IPluginHost* host, IImage* source, int width, int height)
{
    int sourceWidth = 0;
    int sourceHeight = 0;
    source->GetSize(&sourceWidth, &sourceHeight);
    if (host == nullptr || sourceWidth <= 0 || sourceHeight <= 0) return {};
    // Single precision, as the picture has always been fitted.
    const float factor = std::min(static_cast<float>(width) / static_cast<float>(sourceWidth),
                                  static_cast<float>(height) / static_cast<float>(sourceHeight));
    const int previewWidth = static_cast<int>(static_cast<float>(sourceWidth) * factor);
    const int previewHeight = static_cast<int>(static_cast<float>(sourceHeight) * factor);

    CComPtr<IImage> preview;
    if (!host->CreateImage(preview.Receive(), source) || !preview) return {};
    auto bitmap = CComPtr<IBitmap>::Query(preview.Get(), IID_IBitmap);
    if (!bitmap || !bitmap->Allocate(previewWidth, previewHeight, 32, nullptr)) return {};
    if (!StretchSectionColorOnColor(preview->GetBitmap(), source->GetBitmap())) return {};
    return preview;
}
