#include "Common/dialogs/FilterPage.h"

CFilterPage::CFilterPage(IInteractiveFilter* filter, IPreviewSite* site, const QString& title)
    : CFilterDialog(nullptr, filter, site), m_title(title)
{
}
