#include "plugin/BasicFiltersEnum.h"

#include "plugin/ModuleFactories.h"
#include "resources/StringIds.h"

#include <vector>

namespace {

constexpr GUID kEnumeratorId{0xA88B5BD4, 0xB70C, 0x4FAE, {0xBF, 0xB0, 0xD5, 0x44, 0xAB, 0xCF, 0x0B, 0x00}};

// The factory table's rows that ListedFactories leaves out, in the table's order.
std::span<CFilterFactoryBase* const> UnlistedFactories()
{
    static const std::vector<CFilterFactoryBase*> unlisted = [] {
        std::vector<CFilterFactoryBase*> kept;
        for (CFilterFactoryBase* factory : ModuleFactories()) {
            if (!factory->IsListed()) kept.push_back(factory);
        }
        return kept;
    }();
    return unlisted;
}

bool HandOut(std::span<CFilterFactoryBase* const> factories, int index, IComponent** component)
{
    if (index < 0 || index >= static_cast<int>(factories.size()) || component == nullptr) return false;
    *component = factories[static_cast<size_t>(index)];
    return true;
}

} // namespace

CBasicFiltersEnum& CBasicFiltersEnum::Instance()
{
    static CBasicFiltersEnum instance;
    return instance;
}

CBasicFiltersEnum::CBasicFiltersEnum() : m_name(IDS_NAME_ENUMERATOR) {}

HRESULT CBasicFiltersEnum::QueryInterface(REFIID iid, void** object)
{
    return AnswerQueryInterface(object, [&]() -> IUnknown* {
        if (iid == IID_IUnknown || iid == IID_IComponent) return static_cast<IComponent*>(this);
        if (iid == IID_IComponentEnum) return static_cast<IComponentEnum*>(this);
        if (iid == IID_IUnlistedFactories) return static_cast<IUnlistedFactories*>(this);
        return nullptr;
    });
}

const GUID* CBasicFiltersEnum::GetID()
{
    return &kEnumeratorId;
}

int CBasicFiltersEnum::GetCount()
{
    return static_cast<int>(ListedFactories().size());
}

bool CBasicFiltersEnum::GetAt(int index, IComponent** component)
{
    return HandOut(ListedFactories(), index, component);
}

int CBasicFiltersEnum::GetUnlistedCount()
{
    return static_cast<int>(UnlistedFactories().size());
}

bool CBasicFiltersEnum::GetUnlistedAt(int index, IComponent** component)
{
    return HandOut(UnlistedFactories(), index, component);
}
