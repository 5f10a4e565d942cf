#pragma once
// Brightness and contrast through one transfer table applied to red, green and blue.

#include "Common/base/FilterInputs.h"
#include "Common/base/InteractiveFilterBase.h"

inline constexpr const char16_t* kBrightnessKey = u"BrightnessValue";
inline constexpr const char16_t* kContrastKey = u"ContrastValue";

class CInteractiveBrightnessContrastFilter final : public CInteractiveFilterBase {
public:
    CInteractiveBrightnessContrastFilter(IUnknown* source, IPluginHost* host);

    bool Apply(IUnknown* input, IImage** result, IProgress* progress, IStatus** status) override;

protected:
    bool CreateDialogWindow(QWidget* parent, IStatus** status) override;

private:
    CFilterInputs m_inputs;
};
