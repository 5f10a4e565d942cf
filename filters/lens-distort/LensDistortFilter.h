#pragma once
// Lens Distort: corrects or adds barrel and pincushion distortion on a copy of the
// input, one coefficient from the parameter text, one progress step per row.

#include "Common/base/InteractiveFilterBase.h"

class CLensDistortFilter final : public CInteractiveFilterBase {
public:
    CLensDistortFilter(IUnknown* source, IPluginHost* host);

protected:
    bool CreateDialogWindow(QWidget* parent, IStatus** status) override;
    CApplyOutcome ReadSettings(IUnknown* input) override;
    CApplyOutcome ChangePixels(IUnknown* input, IImage* working, IProgress* progress) override;

private:
    // Read by the apply under way.
    double m_coefficient = 0.0;
};
