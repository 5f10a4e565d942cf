#include "refhost/PluginHost.h"

#include "platform/ComPtr.h"
#include "refhost/HostImage.h"

#include <new>

CPluginHost* CPluginHost::Create(uint16_t language)
{
    return new (std::nothrow) CPluginHost(language);
}

HRESULT CPluginHost::QueryInterface(REFIID iid, void** object)
{
    return AnswerQueryInterface(object, [&]() -> IUnknown* {
        if (iid == IID_IUnknown) return static_cast<IPluginHost*>(this);
        if (iid == IID_IHostLanguage) return static_cast<IHostLanguage*>(this);
        return nullptr;
    });
}

ULONG CPluginHost::AddRef()
{
    return m_refs.Increment();
}

ULONG CPluginHost::Release()
{
    const ULONG left = m_refs.Decrement();
    if (left == 0) delete this;
    return left;
}

bool CPluginHost::CreateImage(IImage** image, IUnknown* like)
{
    if (image == nullptr) return false;
    CHostImage* made = CHostImage::CreateEmpty();
    if (made == nullptr) return false;
    if (auto model = CComPtr<IImage>::Query(like, IID_IImage)) {
        int horizontal = 0;
        int vertical = 0;
        model->GetResolution(&horizontal, &vertical);
        made->SetResolution(horizontal, vertical);
    }
    *image = made;
    return true;
}
