#include "filters/invert/InvertDialog.h"

#include "Common/base/FilterFormat.h"
#include "filters/invert/InvertSettings.h"
#include "platform/DialogMessage.h"
#include "platform/DialogText.h"
#include "resources/StringIds.h"

#include <QCheckBox>
#include <QVBoxLayout>

namespace {

// The dialog's own store message, posted once when it opens; the frame's store
// message would keep keys of the old text that this dialog replaces.
constexpr unsigned kInvertStoreMessage = kApplicationMessageBase + 0x6A;

void SetFromKey(QCheckBox* box, const CParamList& params, const char16_t* key)
{
    int value = 0;
    if (params.GetInt(key, value)) box->setChecked(value != 0);
}

} // namespace

CInteractiveInvertDlg::CInteractiveInvertDlg(QWidget* parent, IInteractiveFilter* filter, IPreviewSite* site)
    : CFilterDialog(parent, filter, site)
{
    auto* layout = new QVBoxLayout(this);
    m_red = AddBox(IDS_DLG5014_RED_CHANNEL, kInvertRedSetting.start != 0);
    m_green = AddBox(IDS_DLG5014_GREEN_CHANNEL, kInvertGreenSetting.start != 0);
    m_blue = AddBox(IDS_DLG5014_BLUE_CHANNEL, kInvertBlueSetting.start != 0);
    layout->addStretch();
    TakeStartFromFilter();
    PostDialogMessage(this, kInvertStoreMessage);
}

// A click, never a change made by code, stores at once rather than through a
// posted message.
QCheckBox* CInteractiveInvertDlg::AddBox(unsigned textId, bool checked)
{
    auto* box = new QCheckBox(DialogText(textId), this);
    box->setChecked(checked);
    layout()->addWidget(box);
    connect(box, &QCheckBox::clicked, this, [this] { Store(); });
    return box;
}

// The keys the filter's text holds when the dialog opens set their boxes; the others
// keep the start.
void CInteractiveInvertDlg::TakeStartFromFilter()
{
    const WString format = ReadFilterFormat(Filter());
    if (format.empty()) return;
    const CParamList params(format.c_str());
    SetFromKey(m_red, params, kInvertRedKey);
    SetFromKey(m_green, params, kInvertGreenKey);
    SetFromKey(m_blue, params, kInvertBlueKey);
}

bool CInteractiveInvertDlg::event(QEvent* event)
{
    if (event->type() == CDialogMessageEvent::EventType() &&
        static_cast<CDialogMessageEvent*>(event)->Message() == kInvertStoreMessage) {
        Store();
        return true;
    }
    return CFilterDialog::event(event);
}

void CInteractiveInvertDlg::StoreControls(CParamList& params)
{
    params.SetInt(kInvertRedKey, m_red->isChecked() ? 1 : 0);
    params.SetInt(kInvertGreenKey, m_green->isChecked() ? 1 : 0);
    params.SetInt(kInvertBlueKey, m_blue->isChecked() ? 1 : 0);
}

void CInteractiveInvertDlg::ReloadControls(const CParamList&) {}

// The three keys alone become the filter's whole text.
void CInteractiveInvertDlg::Store()
{
    CParamList params;
    StoreControls(params);
    Filter()->SetFormat(params.ToString().c_str());
    if (Site() != nullptr) Site()->ParametersChanged(0);
}
