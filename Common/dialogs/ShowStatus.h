#pragma once
// Tells the user about a failed operation: the status shows itself, or its text
// appears in a message box.

#include "Common/base/FilterInterfaces.h"

class QWidget;

// owner: the window the message box belongs to (may be null). Nothing happens for
// a null status or one with nothing to say.
void ShowStatus(IStatus* status, QWidget* owner);
