#include "Common/progress/ProgressBase.h"

HRESULT CProgressBase::QueryInterface(REFIID iid, void** object)
{
    return AnswerQueryInterface(object, [&]() -> IUnknown* {
        if (iid == IID_IUnknown || iid == IID_IProgress) return this;
        return nullptr;
    });
}

ULONG CProgressBase::AddRef()
{
    return m_refs.Increment();
}

ULONG CProgressBase::Release()
{
    const ULONG left = m_refs.Decrement();
    if (left == 0) delete this;
    return left;
}
