#include "apps/editor/StatusMessage.h"

#include "Common/dialogs/ShowStatus.h"
#include "apps/editor/EditorSettings.h"

void ShowStatus(QWidget* parent, IStatus* status)
{
    ShowStatus(status, parent, CEditorSettings::StatusDiagnosticsEnabled());
}
