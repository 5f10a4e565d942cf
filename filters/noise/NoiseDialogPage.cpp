#include "filters/noise/NoiseDialogPage.h"

#include "filters/noise/NoiseSettings.h"
#include "platform/DialogText.h"

#include <QVBoxLayout>

CNoisePage::CNoisePage(IInteractiveFilter* filter, IPreviewSite* site, unsigned titleId, const char16_t* pageName)
    : CFilterPage(filter, site, DialogText(titleId)), m_pageName(pageName)
{
    // The layout stretches every control to the page's width as it is resized.
    new QVBoxLayout(this);
}

void CNoisePage::StoreControls(CParamList& params)
{
    StorePageKeys(params);
    if (IsActivePage()) params.Set(kNoiseActivePageKey, m_pageName);
}
