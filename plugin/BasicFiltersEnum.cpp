#include "plugin/BasicFiltersEnum.h"

#include "plugin/ModuleFactories.h"
#include "resources/StringIds.h"

namespace {

constexpr GUID kEnumeratorId{0xA88B5BD4, 0xB70C, 0x4FAE, {0xBF, 0xB0, 0xD5, 0x44, 0xAB, 0xCF, 0x0B, 0x00}};

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
    if (index < 0 || index >= GetCount() || component == nullptr) return false;
    *component = ListedFactories()[static_cast<size_t>(index)];
    return true;
}
