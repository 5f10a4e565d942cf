#pragma once
// Color Balance: a gain per channel through three tables (RGB mode), or a hue
// rotation and saturation and lightness factors pixel by pixel (HSL mode), whichever
// page of the settings sheet the user worked on last.

#include "Common/base/InteractiveFilterBase.h"
#include "filters/color-balance/ColorBalanceKernels.h"

#include <QPointer>

class CColorBalanceSheet;

class CColorBalanceFilter final : public CInteractiveFilterBase {
public:
    CColorBalanceFilter(IUnknown* source, IPluginHost* host);

    // A click in the preview while the RGB page shows: a colour that should be
    // neutral sets the gains that make it grey.
    void SelectionChanged() override;

protected:
    bool CreateDialogWindow(QWidget* parent, IStatus** status) override;
    CApplyOutcome ReadSettings(IUnknown* input) override;
    CApplyOutcome ChangePixels(IUnknown* input, IImage* working, IProgress* progress) override;
    // Both modes show the one text, after the settings are read.
    bool AnnouncesWork() const override { return false; }
    void OnDialogDestroyed() override { m_sheet.clear(); }

private:
    // What the settings of the apply under way ask for.
    struct Settings {
        bool hsl = false;
        HslAdjustment adjustment;
        // RGB mode: all three gains are given, in percent.
        bool gainsGiven = false;
        int red = 0;
        int green = 0;
        int blue = 0;
    };

    CApplyOutcome ApplyGains(IImage* working) const;

    Settings m_settings;
    QPointer<CColorBalanceSheet> m_sheet;
};
