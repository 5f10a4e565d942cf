#pragma once
// A host object that tells how many references the module holds on it and which
// language it reports.

#include "refhost/PluginHost.h"

class CCountingHost final : public CPluginHost {
public:
    explicit CCountingHost(uint16_t language) : CPluginHost(language) {}
    ~CCountingHost() override = default;

    // References held by others than the test, which owns the first one.
    int HeldByOthers()
    {
        AddRef();
        return static_cast<int>(Release()) - 1;
    }

    // Hidden from QueryInterface, to play a host without a language service.
    bool hideLanguage = false;

    HRESULT QueryInterface(REFIID iid, void** object) override
    {
        if (hideLanguage && iid == IID_IHostLanguage) {
            *object = nullptr;
            return E_NOINTERFACE;
        }
        return CPluginHost::QueryInterface(iid, object);
    }
};
