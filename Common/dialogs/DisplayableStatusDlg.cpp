#include "Common/dialogs/DisplayableStatusDlg.h"

#include "platform/DialogMessage.h"

#include <QGuiApplication>
#include <QScreen>

CDisplayableStatusDlg::CDisplayableStatusDlg(IDisplayable* displayable, QWidget* parent)
    : QDialog(parent), m_displayable(displayable)
{
    m_displayable->AddRef();
    ShowDisplayable();
}

CDisplayableStatusDlg::~CDisplayableStatusDlg()
{
    m_displayable->Release();
}

// The status's window sits at the client origin and the dialog takes its size.
void CDisplayableStatusDlg::ShowDisplayable()
{
    QWidget* child = WidgetOfHandle(m_displayable->Display(HandleOfWidget(this)));
    if (child == nullptr) return;
    child->move(0, 0);
    setFixedSize(child->size());
    const QRect area = parentWidget() != nullptr ? parentWidget()->window()->geometry()
                                                 : QGuiApplication::primaryScreen()->availableGeometry();
    move(area.center() - rect().center());
}
