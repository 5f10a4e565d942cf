#pragma once
// Brightness and contrast through one transfer table applied to red, green and blue.

#include "Common/base/InteractiveFilterBase.h"
#include "filters/brightness-contrast/BrightnessContrastSettings.h"

#include <cstdint>


class CInteractiveBrightnessContrastFilter final : public CInteractiveFilterBase {
public:
    CInteractiveBrightnessContrastFilter(IUnknown* source, IPluginHost* host);

protected:
    bool CreateDialogWindow(QWidget* parent, IStatus** status) override;
    CApplyOutcome ReadSettings(IUnknown* input) override;
    CApplyOutcome ChangePixels(IUnknown* input, IImage* working, IProgress* progress) override;

private:
    // Built from the settings of the apply under way.
    uint8_t m_table[256] = {};
};
