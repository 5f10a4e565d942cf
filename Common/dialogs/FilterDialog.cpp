#include "Common/dialogs/FilterDialog.h"

#include "Common/base/FilterFormat.h"
#include "platform/DialogMessage.h"

CFilterDialog::CFilterDialog(QWidget* parent, IInteractiveFilter* filter, IPreviewSite* site)
    : QWidget(parent), m_filter(filter), m_site(site)
{
    m_filter->AddRef();
    if (m_site != nullptr) m_site->AddRef();
}

CFilterDialog::~CFilterDialog()
{
    if (m_site != nullptr) m_site->Release();
    m_filter->Release();
}

void CFilterDialog::PostStore()
{
    if (!m_reloading) PostDialogMessage(this, kStoreMessage);
}

bool CFilterDialog::event(QEvent* event)
{
    if (event->type() != CDialogMessageEvent::EventType()) return QWidget::event(event);
    const unsigned message = static_cast<CDialogMessageEvent*>(event)->Message();
    if (message == kStoreMessage) OnStore();
    else if (message == kReloadMessage) OnReload();
    return true;
}

void CFilterDialog::OnStore()
{
    const WString format = ReadFilterFormat(m_filter);
    CParamList params(format.c_str());
    StoreControls(params);
    m_stored = params.ToString();
    m_filter->SetFormat(m_stored.c_str());
    if (m_site != nullptr) m_site->ParametersChanged(0);
}

void CFilterDialog::OnReload()
{
    const WString format = ReadFilterFormat(m_filter);
    if (format.empty() || format == m_stored) return;
    const CParamList params(format.c_str());
    m_reloading = true;
    ReloadControls(params);
    m_reloading = false;
}
