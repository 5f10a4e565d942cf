#pragma once
// How a fix talks to the sink it is given (the apply's phase adapter, or null): a
// fix of two passes, a measurement and then the change, gives them equal halves of
// its phase under its own text, and every fix ends its phase with its outcome.

#include "host/HostInterfaces.h"
#include "platform/ComPtr.h"

// The adapter of the two passes over sink, showing text textId; left null without a
// sink. False when a sink was given and no adapter could be made.
bool OpenTwoPasses(IProgress* sink, unsigned textId, CComPtr<IProgress>& passes);

// Shows text textId on progress; nothing without one.
void ShowFixText(IProgress* progress, unsigned textId);

// Tells sink (may be null) that the fix ended as succeeded says, and answers it.
bool EndFix(IProgress* sink, bool succeeded);
