#pragma once
// Exposure: histogram correction or a gradation curve, both as one transfer table
// applied to red, green and blue. "Active" of the parameter text picks the mode.

#include "Common/base/InteractiveFilterBase.h"

#include <cstdint>

class CExposureSheet;

class CExposureFilter final : public CInteractiveFilterBase {
public:
    CExposureFilter(IUnknown* source, IPluginHost* host);

protected:
    bool CreateDialogWindow(QWidget* parent, IStatus** status) override;
    CApplyOutcome ReadSettings(IUnknown* input) override;
    CApplyOutcome ChangePixels(IUnknown* input, IImage* working, IProgress* progress) override;

private:
    // Built from the settings of the apply under way.
    uint8_t m_table[256] = {};
};
