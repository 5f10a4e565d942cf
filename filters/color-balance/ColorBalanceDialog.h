#pragma once
// The Color Balance settings: a tabbed sheet with the RGB page first and the HSL page
// second; "active" names the page shown.

#include "Common/dialogs/FilterSheet.h"

class CColorBalanceHslPage;
class CColorBalanceRgbPage;

class CColorBalanceSheet final : public CFilterSheet {
public:
    static constexpr int kRgbIndex = 0;
    static constexpr int kHslIndex = 1;

    // The pages hold a reference on the filter and one on the site; the RGB page also
    // one on source (may be null), the picture it analyses without a preview.
    CColorBalanceSheet(QWidget* parent, IInteractiveFilter* filter, IPreviewSite* site, IUnknown* source);

    CColorBalanceRgbPage* RgbPage() const { return m_rgb; }
    CColorBalanceHslPage* HslPage() const { return m_hsl; }

private:
    CColorBalanceRgbPage* m_rgb;
    CColorBalanceHslPage* m_hsl;
};
