#include "refhost/ImageConversion.h"

#include <cmath>
#include <cstring>

namespace {

constexpr double kMetresPerInch = 0.0254;

int DotsPerInch(int dotsPerMetre)
{
    return static_cast<int>(std::lround(dotsPerMetre * kMetresPerInch));
}

int DotsPerMetre(int dotsPerInch)
{
    return static_cast<int>(std::lround(dotsPerInch / kMetresPerInch));
}

} // namespace

CHostImage* ImageFromQImage(const QImage& picture)
{
    if (picture.isNull()) return nullptr;
    // On a little-endian machine both formats lie in memory as blue, green, red, fourth.
    const QImage pixels = picture.convertToFormat(picture.hasAlphaChannel() ? QImage::Format_ARGB32
                                                                            : QImage::Format_RGB32);
    CHostImage* image = CHostImage::Create(pixels.width(), pixels.height());
    if (image == nullptr) return nullptr;
    const size_t rowBytes = static_cast<size_t>(pixels.width()) * 4;
    for (int y = 0; y < pixels.height(); ++y) {
        std::memcpy(image->Row(pixels.height() - 1 - y), pixels.constScanLine(y), rowBytes);
    }
    image->SetResolution(DotsPerInch(pixels.dotsPerMeterX()), DotsPerInch(pixels.dotsPerMeterY()));
    return image;
}

QImage QImageFromImage(IImage* image, bool fourthByteIsAlpha)
{
    int width = 0;
    int height = 0;
    image->GetSize(&width, &height);
    const uint8_t* bits = image->GetPixels();
    if (width <= 0 || height <= 0 || bits == nullptr) return {};
    QImage picture(width, height, fourthByteIsAlpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    if (picture.isNull()) return {};
    const int stride = image->GetStride();
    for (int y = 0; y < height; ++y) {
        std::memcpy(picture.scanLine(height - 1 - y), bits + static_cast<ptrdiff_t>(y) * stride,
                    static_cast<size_t>(width) * 4);
    }
    int horizontal = 0;
    int vertical = 0;
    image->GetResolution(&horizontal, &vertical);
    if (horizontal > 0) picture.setDotsPerMeterX(DotsPerMetre(horizontal));
    if (vertical > 0) picture.setDotsPerMeterY(DotsPerMetre(vertical));
    return picture;
}
