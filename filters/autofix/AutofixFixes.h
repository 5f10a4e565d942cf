#pragma once
// Which fixes an apply runs, and running them in their fixed order: rotation,
// colour cast, exposure, noise. Each fix is one phase of the apply's progress.

#include "Common/params/ParamList.h"
#include "host/HostInterfaces.h"
#include "platform/ComPtr.h"

struct AutofixChoice {
    bool rotation = false;
    bool color = false;
    bool exposure = false;
    bool noise = false;

    int Count() const { return int{rotation} + int{color} + int{exposure} + int{noise}; }
};

// A key that is missing, or 0, leaves its fix out.
AutofixChoice ReadAutofixChoice(const CParamList& params);

// Runs the chosen fixes on working until one fails; the rotation replaces working by
// the turned image. phases (may be null) gets one phase per fix. False when a fix
// failed or was stopped: working is then partly fixed and must not be handed out.
bool RunAutofixes(const AutofixChoice& choice, CComPtr<IImage>& working, IProgress* phases);
