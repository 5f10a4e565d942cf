#include "Common/dialogs/ShowStatus.h"

#include "Common/dialogs/DisplayableStatusDlg.h"
#include "Common/status/StatusDisplay.h"
#include "platform/ComPtr.h"

#include <QApplication>
#include <QMessageBox>

namespace {

QString ToQString(const WString& text)
{
    return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

void ShowStatus(IStatus* status, QWidget* owner, bool withSourceDiagnostics)
{
    const StatusPresentation shown = DescribeStatus(status, withSourceDiagnostics);
    switch (shown.kind) {
    case StatusPresentationKind::Nothing:
        return;
    case StatusPresentationKind::Displayable: {
        auto displayable = CComPtr<IDisplayable>::Query(status, IID_IDisplayable);
        CDisplayableStatusDlg(displayable.Get(), owner).exec();
        return;
    }
    case StatusPresentationKind::SystemErrorBox: {
        QWidget* mainWindow = QApplication::activeWindow() != nullptr ? QApplication::activeWindow() : owner;
        QMessageBox::critical(mainWindow, ToQString(StatusErrorCaption()), ToQString(shown.text));
        return;
    }
    case StatusPresentationKind::MessageBox:
        QMessageBox::warning(owner, QApplication::applicationDisplayName(), ToQString(shown.text));
        return;
    }
}
