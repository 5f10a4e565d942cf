#pragma once
// Tells the user about a failed operation: the status shows itself, or its text
// appears in a message box. Shared by the module and the hosts, so that both show a
// status the same way.

#include "Common/base/FilterInterfaces.h"

class QWidget;

// owner: the window the message box belongs to (may be null). withSourceDiagnostics:
// the caller's "StatusEx" switch, which adds the failing check's file and line.
// Nothing happens for a null status or one with nothing to say.
void ShowStatus(IStatus* status, QWidget* owner, bool withSourceDiagnostics);
