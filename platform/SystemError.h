#pragma once
// The operating system's message text for an error number.

#include "platform/WideString.h"

// False, text unchanged, when the system has no text of its own for the number.
bool SystemErrorText(int number, WString& text);
