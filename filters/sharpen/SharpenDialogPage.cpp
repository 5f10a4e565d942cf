#include "filters/sharpen/SharpenDialogPage.h"

#include "Common/dialogs/SliderRow.h"
#include "filters/sharpen/SharpenFilter.h"
#include "platform/DialogText.h"

#include <QLabel>
#include <QStackedWidget>
#include <QVBoxLayout>

CSharpenPage::CSharpenPage(IInteractiveFilter* filter, IPreviewSite* site, unsigned titleId, const char16_t* pageName)
    : CFilterPage(filter, site, DialogText(titleId)), m_pageName(pageName)
{
    // The layout stretches every control to the page's width as it is resized.
    new QVBoxLayout(this);
}

QSlider* CSharpenPage::AddSlider(unsigned labelId, const SettingDeclaration& setting)
{
    return AddSliderRow(this, ScaledSliderRow(labelId, SharpenScale(setting), setting.start),
                        SliderStore::WhenMovementEnds,
                        [this] { PostStore(); });
}

void CSharpenPage::AddHint(unsigned hintId)
{
    auto* hint = new QLabel(DialogText(hintId), this);
    hint->setWordWrap(true);
    layout()->addWidget(hint);
    static_cast<QVBoxLayout*>(layout())->addStretch();
}

void CSharpenPage::StoreControls(CParamList& params)
{
    StorePageKeys(params);
    if (IsActivePage()) params.Set(kSharpenActivePageKey, m_pageName);
}

// A tabbed sheet keeps its pages in a stack whose current widget is the page shown.
bool CSharpenPage::IsActivePage() const
{
    const auto* stack = qobject_cast<const QStackedWidget*>(parentWidget());
    return stack != nullptr && stack->currentWidget() == this;
}
