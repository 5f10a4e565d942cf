#include "filters/shared/pixels/KernelBridge.h"

#include "platform/ComPtr.h"

PixelRows RowsOfSection(HBITMAP section)
{
    BITMAP description{};
    if (GetObjectW(section, sizeof description, &description) == 0) return {};
    return {static_cast<uint8_t*>(description.bmBits), description.bmWidthBytes, description.bmWidth,
            description.bmHeight};
}

PixelRows RowsOfBitmap(IBitmap* bitmap)
{
    if (bitmap == nullptr) return {};
    PixelRows rows{bitmap->GetPixels(), bitmap->GetStride(), 0, 0};
    bitmap->GetSize(&rows.width, &rows.height);
    return rows;
}

PixelRows RowsOfImage(IUnknown* image)
{
    const auto bitmap = CComPtr<IBitmap>::Query(image, IID_IBitmap);
    return RowsOfBitmap(bitmap.Get());
}

UnitReport ReportTo(IProgress* progress)
{
    if (progress == nullptr) return {};
    return [progress](int done, int total) { return progress->Step(done, total); };
}
