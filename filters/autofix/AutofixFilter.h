#pragma once
// Autofix: up to four automatic fixes on a copy of the image, in a fixed order
// (rotation, colour cast, exposure, noise), each one phase of the progress. The
// parameter text only says which fixes run.

#include "Common/base/InteractiveFilterBase.h"
#include "filters/autofix/AutofixFixes.h"

class CInteractiveAutofixFilter final : public CInteractiveFilterBase {
public:
    CInteractiveAutofixFilter(IUnknown* source, IPluginHost* host);

protected:
    bool CreateDialogWindow(QWidget* parent, IStatus** status) override;
    CApplyOutcome CheckInput(IUnknown* input) override;
    CApplyOutcome ReadSettings(IUnknown* input) override;
    CApplyOutcome MakeWorkingImage(IUnknown* input, CComPtr<IImage>& working) override;
    // The rotation fix replaces the copy by the turned picture, which is then the one
    // handed out.
    CApplyOutcome ChangeImage(IUnknown* input, CComPtr<IImage>& working, IProgress* progress) override;
    // The text goes to the phases, not straight to the sink.
    bool AnnouncesWork() const override { return false; }

private:
    // Read by the apply under way.
    AutofixChoice m_choice;
};
