#include "Common/dialogs/FilterPage.h"

#include "platform/DialogText.h"

#include <QBoxLayout>
#include <QLabel>
#include <QStackedWidget>

CFilterPage::CFilterPage(IInteractiveFilter* filter, IPreviewSite* site, const QString& title)
    : CFilterDialog(nullptr, filter, site), m_title(title)
{
}

// A tabbed sheet keeps its pages in a stack whose current widget is the page shown.
bool CFilterPage::IsActivePage() const
{
    const auto* stack = qobject_cast<const QStackedWidget*>(parentWidget());
    return stack != nullptr && stack->currentWidget() == this;
}

void CFilterPage::AddHint(unsigned hintId)
{
    auto* hint = new QLabel(DialogText(hintId), this);
    hint->setWordWrap(true);
    auto* column = qobject_cast<QBoxLayout*>(layout());
    column->addWidget(hint);
    column->addStretch();
}
