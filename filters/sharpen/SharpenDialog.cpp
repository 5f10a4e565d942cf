#include "filters/sharpen/SharpenDialog.h"

#include "Common/base/FilterFormat.h"
#include "Common/dialogs/FlexPropertySheet.h"
#include "Common/params/ParamList.h"
#include "filters/sharpen/SharpenFilter.h"
#include "filters/sharpen/SharpenGaussianBlurPage.h"
#include "filters/sharpen/SharpenUnsharpMaskPage.h"
#include "platform/DialogMessage.h"
#include "platform/DialogText.h"
#include "resources/StringIds.h"

#include <QCoreApplication>
#include <QVBoxLayout>

CSharpenSheet::CSharpenSheet(QWidget* parent, IInteractiveFilter* filter, IPreviewSite* site)
    : QWidget(parent),
      m_filter(filter),
      m_sheet(new CFlexPropertySheet(this)),
      m_unsharpMask(new CSharpenUnsharpMaskPage(filter, site)),
      m_gaussianBlur(new CSharpenGaussianBlurPage(filter, site))
{
    m_filter->AddRef();
    setWindowTitle(DialogText(IDS_SHARPEN_SHEET_CAPTION));
    // The first page shown stores its settings, and its name, once it is added.
    m_sheet->AddPage(m_unsharpMask);
    m_sheet->AddPage(m_gaussianBlur);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_sheet);
}

CSharpenSheet::~CSharpenSheet()
{
    m_filter->Release();
}

bool CSharpenSheet::event(QEvent* event)
{
    if (event->type() != CDialogMessageEvent::EventType()) return QWidget::event(event);
    if (static_cast<CDialogMessageEvent*>(event)->Message() == kReloadMessage) OnReload();
    return true;
}

// The pages reload at once, not by posting: the store that the page switch posts must
// find the new values in the controls, or it would write the old ones back.
void CSharpenSheet::OnReload()
{
    const WString format = ReadFilterFormat(m_filter);
    const CParamList params(format.c_str());
    const char16_t* page = params.Get(kSharpenActivePageKey);
    const bool blur = page != nullptr && WStringView(page) == kGaussianBlurPageName;
    m_sheet->SetActivePage(blur ? kGaussianBlurIndex : kUnsharpMaskIndex);
    for (QWidget* target : {static_cast<QWidget*>(m_unsharpMask), static_cast<QWidget*>(m_gaussianBlur)}) {
        CDialogMessageEvent reload(kReloadMessage);
        QCoreApplication::sendEvent(target, &reload);
    }
}
