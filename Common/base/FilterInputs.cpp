#include "Common/base/FilterInputs.h"

#include "platform/Localization.h"

CFilterInputs::CFilterInputs(IUnknown* source, IPluginHost* host, unsigned progressTextId)
    : m_source(source), m_host(host), m_progressTextId(progressTextId)
{
    if (m_source != nullptr) m_source->AddRef();
    if (m_host != nullptr) m_host->AddRef();
}

CFilterInputs::~CFilterInputs()
{
    if (m_source != nullptr) m_source->Release();
    if (m_host != nullptr) m_host->Release();
}

const char16_t* CFilterInputs::ProgressText()
{
    if (m_progressText.empty()) CLocalization::Instance().LoadString(m_progressTextId, m_progressText);
    return m_progressText.c_str();
}
