#include "apps/editor/RecipeFilter.h"

#include "refhost/RecipeChain.h"

#include <new>

CRecipeFilter* CRecipeFilter::Create(const CRecipePlan& plan, bool fourthByteIsAlpha)
{
    return new (std::nothrow) CRecipeFilter(plan, fourthByteIsAlpha);
}

HRESULT CRecipeFilter::QueryInterface(REFIID iid, void** object)
{
    return AnswerQueryInterface(object, [&]() -> IUnknown* {
        if (iid == IID_IUnknown || iid == IID_IFilter) return static_cast<IFilter*>(this);
        return nullptr;
    });
}

ULONG CRecipeFilter::AddRef()
{
    return m_refs.Increment();
}

ULONG CRecipeFilter::Release()
{
    const ULONG left = m_refs.Decrement();
    if (left == 0) delete this;
    return left;
}

int CRecipeFilter::GetFormat(char16_t* buffer, int capacity)
{
    if (buffer == nullptr) return 1;
    if (capacity < 1) return -1;
    buffer[0] = u'\0';
    return 1;
}

bool CRecipeFilter::Apply(IUnknown* input, IImage** result, IProgress* progress, IStatus** status)
{
    if (status != nullptr) *status = nullptr;
    const auto photo = CComPtr<IImage>::Query(input, IID_IImage);
    if (!photo || result == nullptr) {
        m_error = "the recipe was given no photo";
        return false;
    }
    CRecipeChain::Outcome outcome = CRecipeChain::Run(m_plan, photo.Get(), m_fourthByteIsAlpha, progress);
    m_error = outcome.error;
    if (!outcome.result) return false;
    *result = outcome.result.Detach();
    return true;
}
