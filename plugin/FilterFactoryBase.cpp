#include "plugin/FilterFactoryBase.h"

#include "Common/status/Status.h"
#include "platform/ComPtr.h"
#include "platform/Localization.h"
#include "plugin/ModuleIcon.h"

namespace {

constexpr uint32_t kLanguageIdMask = 0xFFFF;

void AdoptHostLanguage(IUnknown* host)
{
    auto language = CComPtr<IHostLanguage>::Query(host, IID_IHostLanguage);
    if (!language) return;
    const auto id = static_cast<uint16_t>(language->GetLanguage() & kLanguageIdMask);
    CLocalization& localization = CLocalization::Instance();
    if (id != localization.Language()) localization.SetLanguage(id);
}

} // namespace

CFilterFactoryBase::CFilterFactoryBase(const ComponentDescription& description)
    : m_description(description), m_name(description.nameId)
{
}

HRESULT CFilterFactoryBase::QueryInterface(REFIID iid, void** object)
{
    return AnswerQueryInterface(object, [&]() -> IUnknown* {
        if (iid == IID_IUnknown || iid == IID_IComponent || iid == IID_IFilterFactory)
            return static_cast<IFilterFactory*>(this);
        if (iid == IID_IFilterSettings && DescribesSettings()) return static_cast<IFilterSettings*>(this);
        return nullptr;
    });
}

bool CFilterFactoryBase::GetIcon(char16_t* path, int capacity, int* index)
{
    if (m_description.iconId == kNoIcon) return false;
    return FindModuleIcon(m_description.iconId, path, capacity, index);
}

const SettingDeclaration* CFilterFactoryBase::GetSetting(int index)
{
    if (index < 0 || index >= GetSettingCount()) return nullptr;
    return &m_description.settings[static_cast<size_t>(index)];
}

bool CFilterFactoryBase::Initialize(IUnknown* host, uint32_t)
{
    // The host hands its IPluginHost over as the IUnknown argument.
    auto* pluginHost = static_cast<IPluginHost*>(host);
    if (m_description.keeping == HostKeeping::Uncounted) {
        m_host = pluginHost;
    } else if (m_description.keeping == HostKeeping::Counted && pluginHost != m_host) {
        if (pluginHost != nullptr) pluginHost->AddRef();
        if (m_host != nullptr) m_host->Release();
        m_host = pluginHost;
    }
    AdoptHostLanguage(host);
    return true;
}

bool CFilterFactoryBase::Uninitialize(uint32_t)
{
    if (m_description.keeping == HostKeeping::Counted && m_host != nullptr) m_host->Release();
    m_host = nullptr;
    return true;
}

bool CFilterFactoryBase::CreateFilter(IUnknown* source, IFilter** filter, IStatus** status)
{
    if (source == nullptr || filter == nullptr) return ReportStatus(status, kStatusInvalidArgument);
    return NewFilter(source, m_host, filter, status);
}

bool CFilterFactoryBase::NewFilter(IUnknown*, IPluginHost*, IFilter**, IStatus** status)
{
    return ReportStatus(status, kStatusHostRefused);
}

bool CFilterFactoryBase::Deliver(IFilter* made, IFilter** filter, IStatus** status)
{
    if (made == nullptr) return ReportStatus(status, kStatusOutOfMemory);
    *filter = made;
    return true;
}

bool CFilterFactoryBase::DescribesSettings() const
{
    return !m_description.settings.empty() || m_description.previewShape.shape != PreviewShape::None;
}
