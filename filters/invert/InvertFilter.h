#pragma once
// Invert: any combination of red, green and blue becomes 255 minus its level.

#include "Common/base/InteractiveFilterBase.h"
#include "filters/invert/InvertKernel.h"

class CInvertFilter final : public CInteractiveFilterBase {
public:
    CInvertFilter(IUnknown* source, IPluginHost* host);

protected:
    bool CreateDialogWindow(QWidget* parent, IStatus** status) override;
    CApplyOutcome ReadSettings(IUnknown* input) override;
    CApplyOutcome ChangePixels(IUnknown* input, IImage* working, IProgress* progress) override;

private:
    // Read by the apply under way.
    InvertedChannels m_channels;
};
