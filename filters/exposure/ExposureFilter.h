#pragma once
// Exposure: histogram correction or a gradation curve, both as one transfer table
// applied to red, green and blue. "Active" of the parameter text picks the mode.

#include "filters/shared/channel-tables/ChannelTableFilter.h"

class CExposureFilter final : public CChannelTableFilter {
public:
    CExposureFilter(IUnknown* source, IPluginHost* host);

protected:
    bool CreateDialogWindow(QWidget* parent, IStatus** status) override;
    CApplyOutcome ReadSettings(IUnknown* input) override;
};
