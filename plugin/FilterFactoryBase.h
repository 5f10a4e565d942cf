#pragma once
// What every filter factory shares: the constant description, the cached name, the
// icon, the kept host object, and the rules of CreateFilter. A concrete factory
// only says which filter it makes.

#include "plugin/ComponentDescription.h"
#include "plugin/ComponentInterfaces.h"
#include "plugin/ComponentName.h"

#include <new>

class CFilterFactoryBase : public IFilterFactory, private IFilterSettings {
public:
    explicit CFilterFactoryBase(const ComponentDescription& description);
    CFilterFactoryBase(const CFilterFactoryBase&) = delete;
    CFilterFactoryBase& operator=(const CFilterFactoryBase&) = delete;

    HRESULT QueryInterface(REFIID iid, void** object) override;
    // Factories are static objects: their counts are not counted.
    ULONG AddRef() override { return 1; }
    ULONG Release() override { return 1; }

    const GUID* GetID() override { return &m_description.id; }
    const char16_t* GetName() override { return m_name.Get(); }
    int GetType() override { return kComponentTypeFilterFactory; }
    uint32_t GetFlags() override { return m_description.flags; }
    bool GetIcon(char16_t* path, int capacity, int* index) override;
    int GetOrder() override { return m_description.order; }

    bool Initialize(IUnknown* host, uint32_t ignored) override;
    bool Uninitialize(uint32_t ignored) override;
    bool CreateFilter(IUnknown* source, IFilter** filter, IStatus** status) override;

    bool IsListed() const { return m_description.listing == Listing::Listed; }
    // The host object kept from the last Initialize; null for factories that keep none.
    IPluginHost* Host() const { return m_host; }

protected:
    // Makes the filter for a non-null source. A factory whose filter is not part of
    // the module yet keeps this default, which refuses with status 6.
    virtual bool NewFilter(IUnknown* source, IPluginHost* host, IFilter** filter, IStatus** status);

    // Allocates a filter of class F(source, host); a failed allocation is status 9.
    template <class F>
    static bool MakeFilter(IUnknown* source, IPluginHost* host, IFilter** filter, IStatus** status);

private:
    // Answered through QueryInterface only by factories whose filter has settings.
    int GetSettingCount() override { return static_cast<int>(m_description.settings.size()); }
    const SettingDeclaration* GetSetting(int index) override;
    PreviewShapeUse GetPreviewShapeUse() override { return m_description.previewShape; }
    bool DescribesSettings() const;

    static bool Deliver(IFilter* made, IFilter** filter, IStatus** status);

    const ComponentDescription& m_description;
    IPluginHost* m_host = nullptr;
    CComponentName m_name;
};

template <class F>
bool CFilterFactoryBase::MakeFilter(IUnknown* source, IPluginHost* host, IFilter** filter, IStatus** status)
{
    return Deliver(new (std::nothrow) F(source, host), filter, status);
}
