#include "Common/base/PlainFilter.h"

CPlainFilter::CPlainFilter(IUnknown* source, IPluginHost* host, unsigned progressTextId, const ApplyOptions& options)
    : CFilterApply(source, host, progressTextId, options)
{
}

HRESULT CPlainFilter::QueryInterface(REFIID iid, void** object)
{
    return AnswerQueryInterface(object, [&]() -> IUnknown* {
        if (iid == IID_IUnknown || iid == IID_IFilter) return this;
        return nullptr;
    });
}

ULONG CPlainFilter::AddRef()
{
    return m_refs.Increment();
}

ULONG CPlainFilter::Release()
{
    const ULONG left = m_refs.Decrement();
    if (left == 0) delete this;
    return left;
}

bool CPlainFilter::Apply(IUnknown* input, IImage** result, IProgress* progress, IStatus** status)
{
    return RunApply(input, result, progress, status);
}
