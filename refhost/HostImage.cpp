#include "refhost/HostImage.h"

#include "Common/base/FilterInterfaces.h"
#include "refhost/HostResampler.h"
#include "refhost/LineCursor.h"

#include <algorithm>
#include <cstring>
#include <new>

CHostImage* CHostImage::Create(int width, int height)
{
    auto* image = new (std::nothrow) CHostImage();
    if (image == nullptr) return nullptr;
    if (!image->Allocate(width, height, 32, nullptr)) {
        image->Release();
        return nullptr;
    }
    return image;
}

CHostImage* CHostImage::CreateEmpty()
{
    return new (std::nothrow) CHostImage();
}

CHostImage::~CHostImage()
{
    DeleteBitmapSection(m_section);
}

HRESULT CHostImage::QueryInterface(REFIID iid, void** object)
{
    return AnswerQueryInterface(object, [&]() -> IUnknown* {
        if (iid == IID_IUnknown || iid == IID_IImage) return static_cast<IImage*>(this);
        if (iid == IID_IBitmap) return static_cast<IBitmap*>(this);
        if (iid == IID_ICloneable) return static_cast<ICloneable*>(this);
        if (iid == IID_IResizableImage) return static_cast<IResizableImage*>(this);
        if (iid == IID_IPixelAccess) return static_cast<IPixelAccess*>(this);
        return nullptr;
    });
}

ULONG CHostImage::AddRef()
{
    return m_refs.Increment();
}

ULONG CHostImage::Release()
{
    const ULONG left = m_refs.Decrement();
    if (left == 0) delete this;
    return left;
}

void CHostImage::GetResolution(int* horizontal, int* vertical)
{
    if (horizontal != nullptr) *horizontal = m_resolutionX;
    if (vertical != nullptr) *vertical = m_resolutionY;
}

void CHostImage::SetResolution(int horizontal, int vertical)
{
    m_resolutionX = horizontal;
    m_resolutionY = vertical;
}

void CHostImage::GetSize(int* width, int* height)
{
    if (width != nullptr) *width = m_width;
    if (height != nullptr) *height = m_height;
}

bool CHostImage::GetLineCursor(int row, ILineCursor** cursor)
{
    if (cursor == nullptr || m_bits == nullptr) return false;
    if (row == -1) row = m_height - 1;
    if (row < 0 || row >= m_height) return false;
    auto* made = new (std::nothrow) CLineCursor(static_cast<IImage*>(this), row);
    if (made == nullptr) return false;
    *cursor = made;
    return true;
}

// The rectangle is in picture coordinates as a person sees them: y from the top
// edge, right and bottom exclusive. It is clipped to the picture; nothing left of
// it is a refusal.
bool CHostImage::Crop(int left, int top, int right, int bottom, IUnknown** cropped)
{
    if (cropped == nullptr) return false;
    left = std::max(left, 0);
    top = std::max(top, 0);
    right = std::min(right, m_width);
    bottom = std::min(bottom, m_height);
    if (left >= right || top >= bottom) return false;
    CHostImage* result = Create(right - left, bottom - top);
    if (result == nullptr) return false;
    result->SetResolution(m_resolutionX, m_resolutionY);
    for (int y = 0; y < result->m_height; ++y) {
        const int sourceRow = m_height - bottom + y;
        std::memcpy(result->Row(y), Row(sourceRow) + left, static_cast<size_t>(result->m_width) * 4);
    }
    *cropped = static_cast<IImage*>(result);
    return true;
}

uint8_t* CHostImage::GetPixels()
{
    return reinterpret_cast<uint8_t*>(m_bits);
}

bool CHostImage::Allocate(int width, int height, int bitsPerPixel, IStatus**)
{
    if (bitsPerPixel != 32) return false;
    HBITMAP section = CreateBitmapSection32(width, height);
    if (section == nullptr) return false;
    BITMAP description{};
    GetObjectW(section, sizeof description, &description);
    DeleteBitmapSection(m_section);
    m_section = section;
    m_bits = static_cast<uint32_t*>(description.bmBits);
    m_width = width;
    m_height = height;
    return true;
}

bool CHostImage::Clone(IUnknown** clone)
{
    if (clone == nullptr || m_bits == nullptr) return false;
    CHostImage* copy = Create(m_width, m_height);
    if (copy == nullptr) return false;
    std::memcpy(copy->m_bits, m_bits, static_cast<size_t>(GetBufferSize()));
    copy->SetResolution(m_resolutionX, m_resolutionY);
    *clone = static_cast<IImage*>(copy);
    return true;
}

// The interpolation codes a filter asks for; any other is refused.
bool CHostImage::Resize(int width, int height, IUnknown** resized, int mode, int)
{
    constexpr int kNearestNeighbour = 3;
    constexpr int kBilinear = 4;
    if (resized == nullptr || m_bits == nullptr || (mode != kNearestNeighbour && mode != kBilinear)) return false;
    CHostImage* result = Create(width, height);
    if (result == nullptr) return false;
    const PixelPlane source{m_bits, m_width, m_height};
    const PixelPlane destination{result->m_bits, width, height};
    if (mode == kNearestNeighbour) ResizeNearestNeighbour(source, destination);
    else ResizeBilinear(source, destination);
    result->SetResolution(m_resolutionX, m_resolutionY);
    *resized = static_cast<IImage*>(result);
    return true;
}

uint32_t CHostImage::GetPixel(int x, int y)
{
    return Contains(x, y) ? Row(y)[x] : 0;
}

void CHostImage::SetPixel(int x, int y, uint32_t color)
{
    if (Contains(x, y)) Row(y)[x] = color;
}

uint32_t* CHostImage::Row(int y)
{
    return m_bits + static_cast<ptrdiff_t>(y) * m_width;
}
