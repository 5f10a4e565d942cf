#include "refhost/PreviewSite.h"

#include <new>

CPreviewSite* CPreviewSite::Create(IImage* preview)
{
    return new (std::nothrow) CPreviewSite(preview);
}

CPreviewSite::CPreviewSite(IImage* preview) : m_preview(preview)
{
    if (m_preview != nullptr) m_preview->AddRef();
}

CPreviewSite::~CPreviewSite()
{
    if (m_result != nullptr) m_result->Release();
    if (m_preview != nullptr) m_preview->Release();
}

HRESULT CPreviewSite::QueryInterface(REFIID iid, void** object)
{
    return AnswerQueryInterface(object, [&]() -> IUnknown* {
        if (iid == IID_IUnknown) return static_cast<IPreviewSite*>(this);
        if (iid == IID_IPreviewImageProvider) return static_cast<IPreviewImageProvider*>(this);
        return nullptr;
    });
}

ULONG CPreviewSite::AddRef()
{
    return m_refs.Increment();
}

ULONG CPreviewSite::Release()
{
    const ULONG left = m_refs.Decrement();
    if (left == 0) delete this;
    return left;
}

void CPreviewSite::ParametersChanged(int)
{
    ++m_changes;
    if (m_filter == nullptr || m_preview == nullptr) return;
    IImage* result = nullptr;
    if (!m_filter->Apply(m_preview, &result, nullptr, nullptr)) result = nullptr;
    if (m_result != nullptr) m_result->Release();
    m_result = result;
    if (m_onPreview) m_onPreview(m_result);
}

void CPreviewSite::SetToolMode(int first, int second)
{
    m_toolModes.emplace_back(first, second);
}

void CPreviewSite::SetSelection(const char16_t* selection)
{
    SelectByUser(selection);
}

const char16_t* CPreviewSite::GetSelection()
{
    return m_selection.empty() ? nullptr : m_selection.c_str();
}

bool CPreviewSite::GetPreviewImage(IImage** image, IUnknown** keepAlive)
{
    if (image == nullptr || keepAlive == nullptr || m_preview == nullptr) return false;
    m_preview->AddRef();
    *image = m_preview;
    AddRef();
    *keepAlive = static_cast<IPreviewSite*>(this);
    return true;
}
