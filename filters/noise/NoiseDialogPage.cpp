#include "filters/noise/NoiseDialogPage.h"

#include "filters/noise/NoiseSettings.h"
#include "platform/DialogText.h"

#include <QLabel>
#include <QStackedWidget>
#include <QVBoxLayout>

CNoisePage::CNoisePage(IInteractiveFilter* filter, IPreviewSite* site, unsigned titleId, const char16_t* pageName)
    : CFilterPage(filter, site, DialogText(titleId)), m_pageName(pageName)
{
    // The layout stretches every control to the page's width as it is resized.
    new QVBoxLayout(this);
}

// A tabbed sheet keeps its pages in a stack whose current widget is the page shown.
bool CNoisePage::IsActivePage() const
{
    const auto* stack = qobject_cast<const QStackedWidget*>(parentWidget());
    return stack != nullptr && stack->currentWidget() == this;
}

void CNoisePage::AddHint(unsigned hintId)
{
    auto* hint = new QLabel(DialogText(hintId), this);
    hint->setWordWrap(true);
    layout()->addWidget(hint);
    static_cast<QVBoxLayout*>(layout())->addStretch();
}

void CNoisePage::StoreControls(CParamList& params)
{
    StorePageKeys(params);
    if (IsActivePage()) params.Set(kNoiseActivePageKey, m_pageName);
}
