#include "filters/sharpen/SharpenDialogPage.h"

#include "Common/dialogs/SliderRow.h"
#include "filters/sharpen/SharpenFilter.h"
#include "platform/DialogText.h"

#include <QVBoxLayout>

CSharpenPage::CSharpenPage(IInteractiveFilter* filter, IPreviewSite* site, unsigned titleId, const char16_t* pageName)
    : CFilterPage(filter, site, DialogText(titleId)), m_pageName(pageName)
{
    // The layout stretches every control to the page's width as it is resized.
    new QVBoxLayout(this);
}

QSlider* CSharpenPage::AddSlider(unsigned labelId, const SettingDeclaration& setting)
{
    const CSliderScale scale = SharpenScale(setting);
    return AddSliderRow(this, ScaledSliderRow(labelId, scale, setting.start), SliderStore::WhenMovementEnds,
                        [this] { PostStore(); }, ScaledSliderValues(scale));
}

void CSharpenPage::StoreControls(CParamList& params)
{
    StorePageKeys(params);
    if (IsActivePage()) params.Set(kSharpenActivePageKey, m_pageName);
}

