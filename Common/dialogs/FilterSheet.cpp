#include "Common/dialogs/FilterSheet.h"

#include "Common/base/FilterFormat.h"
#include "Common/dialogs/FilterPage.h"
#include "Common/dialogs/FlexPropertySheet.h"
#include "Common/params/ParamList.h"
#include "platform/DialogMessage.h"
#include "platform/DialogText.h"

#include <QCoreApplication>
#include <QVBoxLayout>

CFilterSheet::CFilterSheet(QWidget* parent, IInteractiveFilter* filter, unsigned captionId, const char16_t* pageKey,
                           std::vector<const char16_t*> pageNames)
    : QWidget(parent),
      m_filter(filter),
      m_sheet(new CFlexPropertySheet(this)),
      m_pageKey(pageKey),
      m_pageNames(std::move(pageNames))
{
    m_filter->AddRef();
    setWindowTitle(DialogText(captionId));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_sheet);
}

CFilterSheet::~CFilterSheet()
{
    m_filter->Release();
}

void CFilterSheet::AddPage(CFilterPage* page)
{
    m_sheet->AddPage(page);
    m_pages.push_back(page);
}

bool CFilterSheet::event(QEvent* event)
{
    if (event->type() != CDialogMessageEvent::EventType()) return QWidget::event(event);
    if (static_cast<CDialogMessageEvent*>(event)->Message() == kReloadMessage) OnReload();
    return true;
}

// A text that names no page shows the first. The pages reload at once, not by
// posting: the store that the page switch posts must find the new values in the
// controls, or it would write the old ones back.
void CFilterSheet::OnReload()
{
    const CParamList params(ReadFilterFormat(m_filter).c_str());
    const char16_t* named = params.Get(m_pageKey);
    int shown = 0;
    for (size_t i = 0; i < m_pageNames.size(); ++i) {
        if (named != nullptr && WStringView(named) == m_pageNames[i]) shown = static_cast<int>(i);
    }
    m_sheet->SetActivePage(shown);
    for (CFilterPage* page : m_pages) {
        CDialogMessageEvent reload(kReloadMessage);
        QCoreApplication::sendEvent(page, &reload);
    }
}
