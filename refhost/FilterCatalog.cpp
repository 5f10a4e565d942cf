#include "refhost/FilterCatalog.h"

#include "platform/ComPtr.h"
#include "platform/WideString.h"
#include "plugin/UnlistedInterfaces.h"
#include "refhost/HostImage.h"
#include "refhost/ModuleLoader.h"

#include <algorithm>
#include <cctype>

namespace {

constexpr int kIconPathCapacity = 1024;

// Asking a filter made for a one-pixel picture is the only way to learn its kind.
FilterKind ProbeKind(IFilterFactory* factory)
{
    auto probe = CComPtr<CHostImage>::Adopt(CHostImage::Create(1, 1));
    if (!probe) return FilterKind::Unavailable;
    CComPtr<IFilter> filter;
    CComPtr<IStatus> status;
    if (!factory->CreateFilter(static_cast<IImage*>(probe.Get()), filter.Receive(), status.Receive()) || !filter) {
        return FilterKind::Unavailable;
    }
    return filter->IsInteractive() ? FilterKind::Interactive : FilterKind::Plain;
}

std::string Utf8(const char16_t* text)
{
    return text != nullptr ? NarrowToUtf8(WStringView(text)) : std::string();
}

FilterSetting CopySetting(const SettingDeclaration& declared)
{
    FilterSetting setting;
    setting.page = Utf8(declared.page);
    setting.key = Utf8(declared.key);
    setting.type = declared.type;
    setting.minimum = declared.minimum;
    setting.maximum = declared.maximum;
    setting.fromPhoto = declared.startFrom == SettingStart::FromPhoto;
    setting.start = declared.start;
    setting.startText = Utf8(declared.startText);
    for (const char16_t* const* choice = declared.choices; choice != nullptr && *choice != nullptr; ++choice) {
        setting.choices.push_back(Utf8(*choice));
    }
    setting.description = Utf8(declared.description);
    return setting;
}

// Factories of other modules, and of filters without settings, do not answer.
std::vector<FilterSetting> ReadSettings(IFilterFactory* factory)
{
    std::vector<FilterSetting> settings;
    const auto declarations = CComPtr<IFilterSettings>::Query(factory, IID_IFilterSettings);
    if (!declarations) return settings;
    const int count = declarations->GetSettingCount();
    for (int i = 0; i < count; ++i) {
        const SettingDeclaration* declared = declarations->GetSetting(i);
        if (declared != nullptr && declared->key != nullptr) settings.push_back(CopySetting(*declared));
    }
    return settings;
}

FilterPreviewShape ReadPreviewShape(IFilterFactory* factory)
{
    const auto declarations = CComPtr<IFilterSettings>::Query(factory, IID_IFilterSettings);
    if (!declarations) return {};
    const PreviewShapeUse use = declarations->GetPreviewShapeUse();
    return {use.shape, use.required, Utf8(use.description)};
}

FilterEntry Describe(int index, IFilterFactory* factory)
{
    FilterEntry entry;
    entry.index = index;
    entry.factory = factory;
    const char16_t* name = factory->GetName();
    entry.menuPath = NarrowToUtf8(name != nullptr ? WStringView(name) : WStringView());
    entry.kind = ProbeKind(factory);
    entry.flags = factory->GetFlags();
    entry.order = factory->GetOrder();
    char16_t path[kIconPathCapacity];
    int iconIndex = -1;
    if (factory->GetIcon(path, kIconPathCapacity, &iconIndex)) {
        entry.iconPath = NarrowToUtf8(path);
        entry.iconIndex = iconIndex;
    }
    entry.settings = ReadSettings(factory);
    entry.previewShape = ReadPreviewShape(factory);
    return entry;
}

std::string Lowered(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

std::string LastSegment(const std::string& menuPath)
{
    const size_t slash = menuPath.rfind('\\');
    return slash == std::string::npos ? menuPath : menuPath.substr(slash + 1);
}

// Modules without the interface have none; components that are no filter factories
// are skipped as the loader skips them.
std::vector<IFilterFactory*> UnlistedFactories(IComponent* primary)
{
    std::vector<IFilterFactory*> factories;
    const auto unlisted = CComPtr<IUnlistedFactories>::Query(primary, IID_IUnlistedFactories);
    if (!unlisted) return factories;
    for (int i = 0; i < unlisted->GetUnlistedCount(); ++i) {
        IComponent* component = nullptr;
        if (!unlisted->GetUnlistedAt(i, &component) || component == nullptr) continue;
        if (auto factory = CComPtr<IFilterFactory>::Query(component, IID_IFilterFactory)) {
            factories.push_back(factory.Get());
        }
    }
    return factories;
}

bool IsIndex(const std::string& name)
{
    return !name.empty() && name.size() < 6 &&
           std::all_of(name.begin(), name.end(), [](unsigned char c) { return std::isdigit(c) != 0; });
}

} // namespace

CFilterCatalog::CFilterCatalog(const CModuleLoader& module, IPluginHost* host)
{
    for (IFilterFactory* factory : module.Factories()) Add(factory, host, true);
    if (module.Primary() == nullptr) return;
    for (IFilterFactory* factory : UnlistedFactories(module.Primary())) Add(factory, host, false);
}

void CFilterCatalog::Add(IFilterFactory* factory, IPluginHost* host, bool listed)
{
    factory->Initialize(host, 0);
    m_entries.push_back(Describe(static_cast<int>(m_entries.size()), factory));
    m_entries.back().listed = listed;
}

CFilterCatalog::~CFilterCatalog()
{
    for (const FilterEntry& entry : m_entries) entry.factory->Uninitialize(0);
}

std::vector<const FilterEntry*> CFilterCatalog::Find(const std::string& name) const
{
    std::vector<const FilterEntry*> found;
    if (IsIndex(name)) {
        const int index = std::stoi(name);
        if (index < static_cast<int>(m_entries.size())) found.push_back(&m_entries[static_cast<size_t>(index)]);
        return found;
    }
    const std::string wanted = Lowered(name);
    for (const FilterEntry& entry : m_entries) {
        if (Lowered(entry.menuPath) == wanted) return {&entry};
    }
    for (const FilterEntry& entry : m_entries) {
        if (Lowered(LastSegment(entry.menuPath)) == wanted) found.push_back(&entry);
    }
    return found;
}

const char* FilterKindName(FilterKind kind)
{
    switch (kind) {
    case FilterKind::Plain: return "plain";
    case FilterKind::Interactive: return "interactive";
    case FilterKind::Unavailable: return "unavailable";
    }
    return "unavailable";
}
