#pragma once
// The module's own addition to the component interfaces: the primary component also
// answers IUnlistedFactories with the factories its enumerator leaves out. A host
// written for the enumerator alone keeps seeing the same count and order; a host
// that knows this interface offers the others as well.

#include "platform/Unknown.h"

struct IComponent;

inline constexpr GUID IID_IUnlistedFactories{0x2D6B91E4, 0x7A3C, 0x4F05, {0xB1, 0x8E, 0x64, 0xC2, 0x09, 0x5F, 0xD3, 0x7A}};

// The names differ from IComponentEnum's: the primary component answers both, and
// one method cannot serve two lists.
struct IUnlistedFactories : IUnknown {
    virtual int GetUnlistedCount() = 0;                                 // 3
    // A static factory of the module: no reference is added. False outside
    // 0 .. count - 1 or for a null out-pointer.
    virtual bool GetUnlistedAt(int index, IComponent** component) = 0;  // 4
};
