#pragma once
// The module's primary component: hands out the listed filter factories through
// IComponentEnum and the unlisted ones through IUnlistedFactories.

#include "plugin/ComponentInterfaces.h"
#include "plugin/ComponentName.h"
#include "plugin/UnlistedInterfaces.h"

class CBasicFiltersEnum final : public IComponent, private IComponentEnum, private IUnlistedFactories {
public:
    static CBasicFiltersEnum& Instance();

    HRESULT QueryInterface(REFIID iid, void** object) override;
    ULONG AddRef() override { return 1; }
    ULONG Release() override { return 1; }

    const GUID* GetID() override;
    const char16_t* GetName() override { return m_name.Get(); }
    int GetType() override { return kComponentTypeEnumerator; }
    uint32_t GetFlags() override { return 0; }
    bool GetIcon(char16_t*, int, int*) override { return false; }
    int GetOrder() override { return 500; }
    bool Initialize(IUnknown*, uint32_t) override { return true; }
    bool Uninitialize(uint32_t) override { return true; }

private:
    CBasicFiltersEnum();

    int GetCount() override;
    bool GetAt(int index, IComponent** component) override;
    int GetUnlistedCount() override;
    bool GetUnlistedAt(int index, IComponent** component) override;

    CComponentName m_name;
};
