#pragma once
// The reference host object handed to the factories: creates images and tells the
// user-interface language.

#include "host/HostInterfaces.h"
#include "platform/RefCount.h"

class CPluginHost : public IPluginHost, public IHostLanguage {
public:
    // Count 1; language is a language identifier such as 0x0409.
    static CPluginHost* Create(uint16_t language);

    HRESULT QueryInterface(REFIID iid, void** object) override;
    ULONG AddRef() override;
    ULONG Release() override;

    // A new image without pixels that keeps the resolution of like.
    bool CreateImage(IImage** image, IUnknown* like) override;
    uint32_t GetLanguage() override { return m_language; }

protected:
    explicit CPluginHost(uint16_t language) : m_language(language) {}
    virtual ~CPluginHost() = default;

private:
    uint16_t m_language;
    CRefCount m_refs;
};
