#include "Common/base/ImageCloning.h"

CComPtr<IImage> CloneAsImage(IUnknown* input)
{
    auto cloneable = CComPtr<ICloneable>::Query(input, IID_ICloneable);
    if (!cloneable) return {};
    CComPtr<IUnknown> clone;
    if (!cloneable->Clone(clone.Receive())) return {};
    return CComPtr<IImage>::Query(clone.Get(), IID_IImage);
}
