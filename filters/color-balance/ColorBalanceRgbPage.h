#pragma once
// The RGB page: a gain in percent for red, green and blue, a button that finds the
// gains that remove the picture's colour cast, and a click on something neutral in
// the preview that sets the gains from its colour.

#include "filters/color-balance/ColorBalancePage.h"
#include "filters/shared/color-cast/ColorCast.h"
#include "platform/ComPtr.h"

class QPushButton;

class CColorBalanceRgbPage final : public CColorBalancePage {
public:
    // Holds a reference on source (may be null): the picture the button analyses when
    // the preview site lends none.
    CColorBalanceRgbPage(IInteractiveFilter* filter, IPreviewSite* site, IUnknown* source);

    QSlider* RedSlider() const { return m_red; }
    QSlider* GreenSlider() const { return m_green; }
    QSlider* BlueSlider() const { return m_blue; }
    QPushButton* AutofixButton() const { return m_autofix; }

    // Moves the trackbars to the gains (factors, 1 keeping a channel) and stores.
    void ShowGains(const ColorCastFactors& gains);

protected:
    void StorePageKeys(CParamList& params) override;
    void ReloadControls(const CParamList& params) override;
    void OnActivated() override;

private:
    void OnAutofixColorCast();
    // The preview's picture where the site lends one (keepAlive: what the site hands
    // with it, held while the picture is used), else the filter's source.
    CComPtr<IImage> PictureToAnalyse(CComPtr<IUnknown>& keepAlive) const;

    CComPtr<IUnknown> m_source;
    QSlider* m_red;
    QSlider* m_green;
    QSlider* m_blue;
    QPushButton* m_autofix;
};
