#pragma once
// Tells the user why a filter failed, with the module's own status texts.

#include "Common/base/FilterInterfaces.h"

class QWidget;

// Modal; shows nothing for a status that has nothing to say (none, code 0). The
// file and line of the failing check are added when the framework's "StatusEx"
// switch is on.
void ShowStatus(QWidget* parent, IStatus* status);
