#include "Common/base/InteractiveFilterBase.h"

#include "Common/status/Status.h"
#include "platform/DialogMessage.h"

#include <algorithm>

CInteractiveFilterBase::CInteractiveFilterBase(IUnknown* source, IPluginHost* host, unsigned progressTextId,
                                               const ApplyOptions& options)
    : CFilterApply(source, host, progressTextId, options)
{
}

CInteractiveFilterBase::~CInteractiveFilterBase()
{
    if (m_site != nullptr) m_site->Release();
}

HRESULT CInteractiveFilterBase::QueryInterface(REFIID iid, void** object)
{
    return AnswerQueryInterface(object, [&]() -> IUnknown* {
        if (iid == IID_IUnknown || iid == IID_IFilter || iid == IID_IInteractiveFilter) {
            return static_cast<IInteractiveFilter*>(this);
        }
        if (iid == IID_IAreYouReady) return static_cast<IAreYouReady*>(this);
        return nullptr;
    });
}

ULONG CInteractiveFilterBase::AddRef()
{
    return m_refs.Increment();
}

ULONG CInteractiveFilterBase::Release()
{
    const ULONG left = m_refs.Decrement();
    if (left == 0) delete this;
    return left;
}

bool CInteractiveFilterBase::Apply(IUnknown* input, IImage** result, IProgress* progress, IStatus** status)
{
    return RunApply(input, result, progress, status);
}

void CInteractiveFilterBase::SetFormat(const char16_t* format)
{
    {
        const std::lock_guard lock(m_formatLock);
        if (format != nullptr) m_format = format;
    }
    // The dialog may live on another thread than the caller: it only gets a message.
    if (HasDialog()) PostDialogMessage(m_dialog.data(), kReloadMessage);
    OnFormatChanged();
}

int CInteractiveFilterBase::GetFormat(char16_t* buffer, int capacity)
{
    const std::lock_guard lock(m_formatLock);
    const int needed = static_cast<int>(m_format.size()) + 1;
    if (buffer == nullptr) return needed;
    if (capacity < needed) return -1;
    std::copy(m_format.begin(), m_format.end(), buffer);
    buffer[m_format.size()] = u'\0';
    return needed;
}

WString CInteractiveFilterBase::Format()
{
    const std::lock_guard lock(m_formatLock);
    return m_format;
}

HWND CInteractiveFilterBase::CreateDialog(HWND parent, IStatus** status)
{
    if (parent == nullptr) {
        ReportStatus(status, kStatusInvalidArgument);
        return nullptr;
    }
    QWidget* parentWidget = WidgetOfHandle(parent);
    if (HasDialog() || !CreateDialogWindow(parentWidget, status)) return nullptr;
    return HandleOfWidget(Dialog());
}

bool CInteractiveFilterBase::DestroyDialog()
{
    if (!HasDialog()) return false;
    delete m_dialog.data();
    m_dialog.clear();
    OnDialogDestroyed();
    return true;
}

void CInteractiveFilterBase::SetPreviewSite(IPreviewSite* site)
{
    if (site != nullptr) site->AddRef();
    if (m_site != nullptr) m_site->Release();
    m_site = site;
}

void CInteractiveFilterBase::AdoptDialog(QWidget* dialog)
{
    m_dialog = dialog;
    SelectionChanged();
}
