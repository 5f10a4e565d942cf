#pragma once
// The reference host's image: one 32-bit bottom-up pixel section with packed rows
// and a resolution, answering every image interface a filter asks for.

#include "host/HostInterfaces.h"
#include "platform/RefCount.h"

#include <cstdint>

class CHostImage : public IImage, public IBitmap, public ICloneable, public IResizableImage, public IPixelAccess {
public:
    static constexpr int kDefaultResolution = 96;

    // A new image of width x height zero pixels (count 1), or null when the size is
    // not positive or memory runs out.
    static CHostImage* Create(int width, int height);
    // An image without pixels, to be sized with Allocate (what CreateImage gives).
    static CHostImage* CreateEmpty();

    HRESULT QueryInterface(REFIID iid, void** object) override;
    ULONG AddRef() override;
    ULONG Release() override;

    int GetStride() override { return m_width * 4; }
    void GetResolution(int* horizontal, int* vertical) override;
    void SetResolution(int horizontal, int vertical) override;
    void GetSize(int* width, int* height) override;
    bool GetLineCursor(int row, ILineCursor** cursor) override;
    bool Crop(int left, int top, int right, int bottom, IUnknown** cropped) override;
    uint8_t* GetPixels() override;
    HBITMAP GetBitmap() override { return m_section; }
    int GetBufferSize() override { return m_width * m_height * 4; }
    bool Allocate(int width, int height, int bitsPerPixel, IStatus** status) override;

    bool Clone(IUnknown** clone) override;
    bool Resize(int width, int height, IUnknown** resized, int mode, int reserved) override;

    uint32_t GetPixel(int x, int y) override;
    void SetPixel(int x, int y, uint32_t color) override;

    int Width() const { return m_width; }
    int Height() const { return m_height; }
    // Row y, counted from the bottom row of the picture.
    uint32_t* Row(int y);

protected:
    CHostImage() = default;
    virtual ~CHostImage();

private:
    bool Contains(int x, int y) const { return x >= 0 && y >= 0 && x < m_width && y < m_height; }

    HBITMAP m_section = nullptr;
    uint32_t* m_bits = nullptr;
    int m_width = 0;
    int m_height = 0;
    int m_resolutionX = kDefaultResolution;
    int m_resolutionY = kDefaultResolution;
    CRefCount m_refs;
};
