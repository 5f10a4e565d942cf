#include "apps/editor/StatusMessage.h"

#include "Common/status/StatusDisplay.h"
#include "apps/editor/EditorSettings.h"
#include "platform/ComPtr.h"
#include "platform/DialogMessage.h"

#include <QApplication>
#include <QDialog>
#include <QMessageBox>
#include <QVBoxLayout>

namespace {

// A status that draws itself gets a dialog of its own, sized to what it draws.
void ShowDisplayable(QWidget* parent, IStatus* status)
{
    auto displayable = CComPtr<IDisplayable>::Query(status, IID_IDisplayable);
    QDialog dialog(parent);
    dialog.setWindowTitle(QApplication::applicationDisplayName());
    QWidget* shown = WidgetOfHandle(displayable->Display(HandleOfWidget(&dialog)));
    if (shown == nullptr) return;
    auto* layout = new QVBoxLayout(&dialog);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(shown);
    dialog.exec();
}

} // namespace

void ShowStatus(QWidget* parent, IStatus* status)
{
    const StatusPresentation shown = DescribeStatus(status, CEditorSettings::StatusDiagnosticsEnabled());
    const QString text = QString::fromStdU16String(shown.text);
    switch (shown.kind) {
    case StatusPresentationKind::Nothing:
        return;
    case StatusPresentationKind::Displayable:
        ShowDisplayable(parent, status);
        return;
    case StatusPresentationKind::MessageBox:
        QMessageBox::warning(parent, QApplication::applicationDisplayName(), text);
        return;
    case StatusPresentationKind::SystemErrorBox:
        QMessageBox::critical(parent ? parent->window() : nullptr, QString::fromStdU16String(StatusErrorCaption()), text);
        return;
    }
}
