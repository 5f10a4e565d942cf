#pragma once
// The file the module's code was loaded from, as the host names it when it loads
// the module's icons.

#include "platform/WideString.h"

// Empty when the loader cannot tell.
WString ModuleFilePath();
