#pragma once
// The component model every object crossing the module boundary follows: 16-byte
// identifiers, HRESULT-style codes and the three reference-counting operations.

#include <cstdint>
#include <cstring>

using HRESULT = int32_t;
using ULONG = uint32_t;

constexpr HRESULT S_OK = 0;
constexpr HRESULT E_NOINTERFACE = static_cast<HRESULT>(0x80004002u);
constexpr HRESULT E_INVALIDARG = static_cast<HRESULT>(0x80070057u);

struct GUID {
    uint32_t Data1;
    uint16_t Data2;
    uint16_t Data3;
    uint8_t Data4[8];
};
static_assert(sizeof(GUID) == 16);

inline bool operator==(const GUID& a, const GUID& b)
{
    return std::memcmp(&a, &b, sizeof(GUID)) == 0;
}

using REFIID = const GUID&;

// Interfaces carry no virtual destructor: objects die through Release alone.
struct IUnknown {
    virtual HRESULT QueryInterface(REFIID iid, void** object) = 0;
    virtual ULONG AddRef() = 0;
    virtual ULONG Release() = 0;
};

inline constexpr GUID IID_IUnknown{0x00000000, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

// The QueryInterface rules in one place: a null out-pointer is an invalid argument,
// the out-pointer is cleared first, and a found interface carries one reference.
template <class Lookup>
HRESULT AnswerQueryInterface(void** object, Lookup&& lookup)
{
    if (object == nullptr) return E_INVALIDARG;
    *object = nullptr;
    IUnknown* found = lookup();
    if (found == nullptr) return E_NOINTERFACE;
    found->AddRef();
    *object = found;
    return S_OK;
}
