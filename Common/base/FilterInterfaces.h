#pragma once
// The filter object and status interfaces that hosts receive from the module.

#include "host/HostInterfaces.h"
#include "platform/WindowHandle.h"

inline constexpr GUID IID_IFilter{0xBB9DDF91, 0x9EC5, 0x4168, {0x95, 0xE0, 0xD6, 0x28, 0x77, 0xF5, 0xA7, 0xC8}};
inline constexpr GUID IID_IStatus{0x2FE1527E, 0x61F1, 0x490D, {0x80, 0x96, 0x41, 0xF8, 0x95, 0x04, 0xD4, 0xCC}};
inline constexpr GUID IID_IStatusEx{0x79AB9CF1, 0x8662, 0x4403, {0xA9, 0xEB, 0xA6, 0x62, 0x86, 0x69, 0x75, 0x98}};
inline constexpr GUID IID_IDisplayable{0x672A29CD, 0xC256, 0x4EFE, {0xA4, 0xC7, 0x2D, 0x6E, 0x99, 0x9B, 0xDC, 0x24}};

// A filter's settings as one parameter text; the filter's second interface part.
struct IHaveFormat {
    virtual void SetFormat(const char16_t* format) = 0;         // 0
    // Characters needed including the terminator, or -1 when capacity is too small.
    virtual int GetFormat(char16_t* buffer, int capacity) = 0;  // 1
};

struct IFilter : IUnknown, IHaveFormat {
    virtual bool IsInteractive() = 0;                           // 3
    virtual bool FilterReserved4(uint32_t word) = 0;            // 4: answers false in this module
    virtual bool Apply(IUnknown* input, IImage** result, IProgress* progress, IStatus** status) = 0;  // 5
};

struct IStatus : IUnknown {
    virtual int GetCode() = 0;                                  // 3
    virtual int GetSystemError() = 0;                           // 4
    virtual const char16_t* GetMessage() = 0;                   // 5: null when empty
    virtual int GetExtra() = 0;                                 // 6
};

struct IStatusEx : IStatus {
    virtual const char16_t* GetSourceFile() = 0;                // 7
    virtual int GetSourceLine() = 0;                            // 8
};

struct IDisplayable : IUnknown {
    // The handle of a child window of parent that shows the object, or null.
    virtual HWND Display(HWND parent) = 0;                      // 3
};
