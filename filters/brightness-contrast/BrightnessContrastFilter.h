#pragma once
// Brightness and contrast through one transfer table applied to red, green and blue.

#include "Common/base/InteractiveFilterBase.h"

#include <cstdint>

inline constexpr const char16_t* kBrightnessKey = u"BrightnessValue";
inline constexpr const char16_t* kContrastKey = u"ContrastValue";

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
