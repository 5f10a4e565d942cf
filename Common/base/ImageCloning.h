#pragma once
// The first step of the filters that change a copy of their input in place.

#include "host/HostInterfaces.h"
#include "platform/ComPtr.h"

// The IImage of a clone of input; empty when the input answers no ICloneable, Clone
// refuses or the clone answers no IImage. None of these asks anything of the user,
// so callers report the refusal before their first progress call.
CComPtr<IImage> CloneAsImage(IUnknown* input);
