#include "filters/color-balance/ColorBalanceDialog.h"

#include "Common/dialogs/FlexPropertySheet.h"
#include "filters/color-balance/ColorBalanceHslPage.h"
#include "filters/color-balance/ColorBalanceRgbPage.h"
#include "filters/color-balance/ColorBalanceSettings.h"
#include "resources/StringIds.h"

CColorBalanceSheet::CColorBalanceSheet(QWidget* parent, IInteractiveFilter* filter, IPreviewSite* site,
                                       IUnknown* source)
    : CFilterSheet(parent, filter, IDS_COLOR_BALANCE_SHEET_CAPTION, kColorBalanceActiveKey,
                   {kRgbPageName, kHslPageName}),
      m_rgb(new CColorBalanceRgbPage(filter, site, source)),
      m_hsl(new CColorBalanceHslPage(filter, site))
{
    AddPage(m_rgb);
    AddPage(m_hsl);
    m_rgb->WatchActivation();
    m_hsl->WatchActivation();
    // Each page shows once, so that both store their keys and the text holds the
    // whole of both modes; the RGB page ends up showing, asking for the picker.
    Sheet()->SetActivePage(kHslIndex);
    Sheet()->SetActivePage(kRgbIndex);
}
