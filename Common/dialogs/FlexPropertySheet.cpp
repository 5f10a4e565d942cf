#include "Common/dialogs/FlexPropertySheet.h"

#include "Common/dialogs/FilterPage.h"

#include <QTabWidget>
#include <QVBoxLayout>

CFlexPropertySheet::CFlexPropertySheet(QWidget* parent) : QWidget(parent), m_tabs(new QTabWidget(this))
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_tabs);
    connect(m_tabs, &QTabWidget::currentChanged, this, [this](int index) {
        if (CFilterPage* page = Page(index)) page->Activate();
    });
}

void CFlexPropertySheet::AddPage(CFilterPage* page)
{
    m_tabs->addTab(page, page->Title());
}

void CFlexPropertySheet::SetActivePage(int index)
{
    m_tabs->setCurrentIndex(index);
}

int CFlexPropertySheet::ActivePage() const
{
    return m_tabs->currentIndex();
}

int CFlexPropertySheet::PageCount() const
{
    return m_tabs->count();
}

CFilterPage* CFlexPropertySheet::Page(int index) const
{
    return dynamic_cast<CFilterPage*>(m_tabs->widget(index));
}
