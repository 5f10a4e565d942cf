#include "Common/PlainFilter.h"

#include "platform/Localization.h"

CPlainFilter::CPlainFilter(IUnknown* source, IPluginHost* host, unsigned progressTextId)
    : m_source(source), m_host(host), m_progressTextId(progressTextId)
{
    if (m_source != nullptr) m_source->AddRef();
    if (m_host != nullptr) m_host->AddRef();
}

CPlainFilter::~CPlainFilter()
{
    if (m_source != nullptr) m_source->Release();
    if (m_host != nullptr) m_host->Release();
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

const char16_t* CPlainFilter::ProgressText()
{
    if (m_progressText.empty()) CLocalization::Instance().LoadString(m_progressTextId, m_progressText);
    return m_progressText.c_str();
}
