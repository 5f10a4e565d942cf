#pragma once
// A filter's status as a host that writes lines rather than message boxes words it.

#include "Common/status/Status.h"

#include <string>

// The module's own text for a status, on one line; empty when it has none.
std::string StatusLine(IStatus* status);
