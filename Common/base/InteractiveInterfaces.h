#pragma once
// Filters with a settings dialog, and the host's preview site they talk to.

#include "Common/base/FilterInterfaces.h"

inline constexpr GUID IID_IInteractiveFilter{0x0DED7618, 0xAC98, 0x4CAC, {0xB0, 0x65, 0x62, 0xDF, 0x17, 0x54, 0x25, 0x48}};
inline constexpr GUID IID_IAreYouReady{0x64AE0374, 0x19FD, 0x4F02, {0x85, 0x6A, 0x45, 0x51, 0xAE, 0x7F, 0x58, 0x0B}};
inline constexpr GUID IID_IPreviewImageProvider{0x13391B99, 0x8776, 0x4404, {0x95, 0x7B, 0xB0, 0x6C, 0x0D, 0x8B, 0xD9, 0x81}};

// The host's side of a live preview. It has no identifier of its own.
struct IPreviewSite : IUnknown {
    // The settings changed: the host applies the filter again for its preview.
    virtual void ParametersChanged(int reserved) = 0;            // 3
    // Switches the preview's mouse tool; the meaning of each pair is the host's.
    virtual void SetToolMode(int first, int second) = 0;         // 4
    // Proposes a selection "%d %d %d %d" (left, top, right, bottom) in picture pixels.
    virtual void SetSelection(const char16_t* selection) = 0;    // 5
    // The current selection, or for the line tool the line "x1 y1 x2 y2"; may be null.
    virtual const char16_t* GetSelection() = 0;                  // 6
};

// Offered by preview sites that can show a filter the picture they preview.
struct IPreviewImageProvider : IUnknown {
    virtual void ProviderReserved3() {}
    virtual void ProviderReserved4() {}
    virtual void ProviderReserved5() {}
    virtual void ProviderReserved6() {}
    // The previewed image, and a second object the caller only releases.
    virtual bool GetPreviewImage(IImage** image, IUnknown** keepAlive) = 0;  // 7
};

struct IInteractiveFilter : IFilter {
    // The dialog as a child of parent, or null.
    virtual HWND CreateDialog(HWND parent, IStatus** status) = 0;  // 6
    virtual bool HasDialog() = 0;                                  // 7
    virtual bool DestroyDialog() = 0;                              // 8
    virtual void SetPreviewSite(IPreviewSite* site) = 0;           // 9
    // The user drew or changed a selection or line in the preview.
    virtual void SelectionChanged() = 0;                           // 10
};

struct IAreYouReady : IUnknown {
    virtual bool IsReady(uint32_t word) = 0;                       // 3
};
