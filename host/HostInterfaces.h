#pragma once
// What the host editor offers the filters. The slot order of each interface is
// fixed: a slot the filters never call is a reserved virtual, so that every named
// operation keeps its number in the table of virtual functions.

#include "platform/Bitmap.h"
#include "platform/Unknown.h"

struct IStatus;

inline constexpr GUID IID_IProgress{0xE3C923F6, 0xCA1C, 0x440B, {0x8A, 0xF5, 0x8D, 0xD8, 0x6B, 0x34, 0x93, 0x93}};
inline constexpr GUID IID_ICloneable{0xCC53104E, 0x4FF8, 0x4BDB, {0x9B, 0xBF, 0x95, 0xE9, 0x28, 0x9D, 0xCC, 0xB4}};
inline constexpr GUID IID_IImage{0x120BA122, 0x0E91, 0x4494, {0x9E, 0x95, 0x4C, 0x27, 0xBC, 0x0C, 0x2E, 0x4A}};
inline constexpr GUID IID_IBitmap{0x3AB78644, 0x969B, 0x4BC8, {0x80, 0x2D, 0x3E, 0xE9, 0x0E, 0xB9, 0xAF, 0x27}};
inline constexpr GUID IID_IResizableImage{0xF5C6282A, 0xDB3D, 0x450A, {0xB8, 0x05, 0x12, 0xE8, 0x17, 0xE1, 0x5E, 0xEF}};
inline constexpr GUID IID_IHostLanguage{0xD755A7E8, 0x5507, 0x4653, {0x85, 0x7C, 0x71, 0x94, 0xC6, 0x72, 0x58, 0x94}};
inline constexpr GUID IID_IPixelAccess{0x3C8A59C0, 0xE508, 0x4907, {0x9D, 0xFB, 0x10, 0x93, 0x15, 0xC9, 0xDB, 0x17}};

struct IProgress : IUnknown {
    virtual void SetText(const char16_t* text) = 0;             // 3
    virtual bool Step(int done, int total) = 0;                 // 4: false means cancel
    virtual void Finish(bool success) = 0;                      // 5
};

struct ICloneable : IUnknown {
    virtual bool Clone(IUnknown** clone) = 0;                   // 3
};

// Reached through IImage::GetLineCursor; it has no identifier of its own.
struct ILineCursor : IUnknown {
    virtual uint8_t* GetLine() = 0;                             // 3
    virtual int GetLineSize() = 0;                              // 4
    virtual void Next() = 0;                                    // 5
    virtual void Previous() = 0;                                // 6
};

struct IImage : IUnknown {
    virtual void ImageReserved3() {}
    virtual void ImageReserved4() {}
    virtual int GetStride() = 0;                                // 5
    virtual void GetResolution(int* horizontal, int* vertical) = 0;  // 6
    virtual void SetResolution(int horizontal, int vertical) = 0;    // 7
    virtual void GetSize(int* width, int* height) = 0;          // 8
    // Row 0 is the bottom row; -1 asks for the last (top) row.
    virtual bool GetLineCursor(int row, ILineCursor** cursor) = 0;   // 9
    virtual bool Crop(int left, int top, int right, int bottom, IUnknown** cropped) = 0;  // 10
    virtual void ImageReserved11() {}
    virtual void ImageReserved12() {}
    virtual void ImageReserved13() {}
    virtual void ImageReserved14() {}
    virtual void ImageReserved15() {}
    virtual uint8_t* GetPixels() = 0;                           // 16
    virtual HBITMAP GetBitmap() = 0;                            // 17
};

struct IBitmap : IUnknown {
    virtual void BitmapReserved3() {}
    virtual void BitmapReserved4() {}
    virtual int GetStride() = 0;                                // 5
    virtual void BitmapReserved6() {}
    virtual void BitmapReserved7() {}
    virtual void GetSize(int* width, int* height) = 0;          // 8
    virtual void BitmapReserved9() {}
    virtual void BitmapReserved10() {}
    virtual void BitmapReserved11() {}
    virtual void BitmapReserved12() {}
    virtual void BitmapReserved13() {}
    virtual void BitmapReserved14() {}
    virtual void BitmapReserved15() {}
    virtual uint8_t* GetPixels() = 0;                           // 16
    virtual int GetBufferSize() = 0;                            // 17
    virtual void BitmapReserved18() {}
    virtual void BitmapReserved19() {}
    virtual bool Allocate(int width, int height, int bitsPerPixel, IStatus** status) = 0;  // 20
};

// The object a factory's Initialize receives. It has no identifier: the host hands
// this very interface over as the IUnknown argument.
struct IPluginHost : IUnknown {
    virtual void HostReserved3() {}
    virtual void HostReserved4() {}
    virtual void HostReserved5() {}
    virtual void HostReserved6() {}
    virtual void HostReserved7() {}
    virtual void HostReserved8() {}
    virtual void HostReserved9() {}
    virtual void HostReserved10() {}
    virtual void HostReserved11() {}
    virtual void HostReserved12() {}
    virtual bool CreateImage(IImage** image, IUnknown* like) = 0;   // 13
};

struct IResizableImage : IUnknown {
    // mode 3 nearest neighbour, 4 bilinear; the last word is always 0.
    virtual bool Resize(int width, int height, IUnknown** resized, int mode, int reserved) = 0;  // 3
};

struct IHostLanguage : IUnknown {
    virtual uint32_t GetLanguage() = 0;                         // 3: identifier in the low 16 bits
};

struct IPixelAccess : IUnknown {
    virtual uint32_t GetPixel(int x, int y) = 0;                // 3
    virtual void SetPixel(int x, int y, uint32_t color) = 0;    // 4
};
