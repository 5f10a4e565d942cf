#pragma once
// Which text a host shows for a status, kept apart from any window so that every
// host (dialog, terminal) tells the user the same thing.

#include "Common/base/FilterInterfaces.h"
#include "platform/WideString.h"

enum class StatusPresentationKind {
    Nothing,         // no status, code 0, or a system error without a system text
    Displayable,     // the status shows itself in a dialog of its own
    MessageBox,      // the application's standard message box
    SystemErrorBox,  // a message box owned by the main window, captioned "Error"
};

struct StatusPresentation {
    StatusPresentationKind kind = StatusPresentationKind::Nothing;
    WString text;
};

// withSourceDiagnostics appends "\nFile: %s, Line: %d" for statuses that know them.
StatusPresentation DescribeStatus(IStatus* status, bool withSourceDiagnostics);

// The caption of the system-error message box.
WString StatusErrorCaption();
