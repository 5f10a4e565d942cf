#include "filters/noise/NoiseDialog.h"

#include "Common/base/FilterFormat.h"
#include "Common/dialogs/FlexPropertySheet.h"
#include "Common/params/ParamList.h"
#include "filters/noise/NoiseAddPage.h"
#include "filters/noise/NoiseRemovePage.h"
#include "filters/noise/NoiseSettings.h"
#include "platform/DialogMessage.h"
#include "resources/StringIds.h"

CNoiseSheet::CNoiseSheet(QWidget* parent, IInteractiveFilter* filter, IPreviewSite* site)
    : CFilterSheet(parent, filter, IDS_NOISE_SHEET_CAPTION, kNoiseActivePageKey,
                   {kRemoveNoisePageName, kAddNoisePageName}),
      m_filter(filter),
      m_remove(new CNoiseRemoveNoisePage(filter, site)),
      m_add(new CNoiseAddNoisePage(filter, site))
{
    AddPage(m_remove);
    AddPage(m_add);
    m_remove->WatchLeaving();
}

bool CNoiseSheet::ShowsRemoveNoise() const
{
    return Sheet()->ActivePage() == kRemoveNoiseIndex;
}

bool CNoiseSheet::event(QEvent* event)
{
    if (event->type() == CDialogMessageEvent::EventType() &&
        static_cast<CDialogMessageEvent*>(event)->Message() == kReloadMessage) {
        OnReload();
        return true;
    }
    return CFilterSheet::event(event);
}

// Only the exact name of the removal shows its page; any other text shows adding
// noise. The pages' reloads are posted ahead of the store that a page switch posts,
// so that the store finds the new values in the controls.
void CNoiseSheet::OnReload()
{
    const CParamList params(ReadFilterFormat(m_filter).c_str());
    const char16_t* named = params.Get(kNoiseActivePageKey);
    const bool remove = named != nullptr && WStringView(named) == kRemoveNoisePageName;
    PostDialogMessage(m_remove, kReloadMessage);
    PostDialogMessage(m_add, kReloadMessage);
    Sheet()->SetActivePage(remove ? kRemoveNoiseIndex : kAddNoiseIndex);
}
