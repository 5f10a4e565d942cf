#pragma once
// Brightness and contrast through one transfer table applied to red, green and blue.

#include "filters/brightness-contrast/BrightnessContrastSettings.h"
#include "filters/shared/channel-tables/ChannelTableFilter.h"


class CInteractiveBrightnessContrastFilter final : public CChannelTableFilter {
public:
    CInteractiveBrightnessContrastFilter(IUnknown* source, IPluginHost* host);

protected:
    bool CreateDialogWindow(QWidget* parent, IStatus** status) override;
    CApplyOutcome ReadSettings(IUnknown* input) override;
};
