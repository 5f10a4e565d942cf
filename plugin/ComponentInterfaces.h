#pragma once
// What the host sees of the module: the enumerator and the filter factories.

#include "Common/base/FilterInterfaces.h"

inline constexpr GUID IID_IComponent{0x730ED4B2, 0xB251, 0x4D1F, {0xA8, 0x7B, 0x88, 0x0B, 0xAF, 0x8D, 0x19, 0x3E}};
inline constexpr GUID IID_IComponentEnum{0x97017179, 0x47B3, 0x4724, {0x95, 0xFD, 0x2A, 0xEE, 0xE1, 0xEC, 0x4C, 0x76}};
inline constexpr GUID IID_IFilterFactory{0x15C18D22, 0xF71E, 0x4B9E, {0xB6, 0x35, 0x8B, 0xD5, 0xF4, 0xD0, 0x94, 0x7A}};

// Reached from a component as its second base, not through QueryInterface.
struct IHaveID {
    virtual const GUID* GetID() = 0;                            // 0
};

struct IComponentBase : IUnknown, IHaveID {
    // For a filter factory the host's menu path, sub-menus separated by a backslash.
    virtual const char16_t* GetName() = 0;                      // 3
    virtual int GetType() = 0;                                  // 4: 1 enumerator, 4 filter factory
    virtual uint32_t GetFlags() = 0;                            // 5
    virtual bool GetIcon(char16_t* path, int capacity, int* index) = 0;  // 6
    virtual int GetOrder() = 0;                                 // 7
};

struct IComponent : IComponentBase {
    virtual bool Initialize(IUnknown* host, uint32_t ignored) = 0;   // 8
    virtual bool Uninitialize(uint32_t ignored) = 0;            // 9
};

struct IFilterFactory : IComponent {
    virtual bool CreateFilter(IUnknown* source, IFilter** filter, IStatus** status) = 0;  // 10
};

struct IComponentEnum : IUnknown {
    virtual int GetCount() = 0;                                 // 3
    virtual bool GetAt(int index, IComponent** component) = 0;  // 4
};

inline constexpr int kComponentTypeEnumerator = 1;
inline constexpr int kComponentTypeFilterFactory = 4;

// The module's one export: hands out the enumerator, adding no reference.
extern "C" bool PHOTO_PLUGIN_GetPrimaryComponent(IComponent** component);
using PrimaryComponentEntry = bool (*)(IComponent**);
inline constexpr const char* kPrimaryComponentSymbol = "PHOTO_PLUGIN_GetPrimaryComponent";
