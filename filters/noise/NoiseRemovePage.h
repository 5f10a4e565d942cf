#pragma once
// The page of noise removal: the smoothness, the three noise levels (0 in all three:
// measured), and "Automatic Profile", which drops the region the user selected so
// that the levels are measured in the whole picture again. Measured levels come back
// through the parameter text; the page then tells the preview that they arrived.

#include "filters/noise/NoiseDialogPage.h"
#include "platform/Rect.h"

class QPushButton;
class QSlider;

class CNoiseRemoveNoisePage final : public CNoisePage {
public:
    CNoiseRemoveNoisePage(IInteractiveFilter* filter, IPreviewSite* site);

    // Called by the sheet once the page is in it: from then on leaving the page drops
    // the region.
    void WatchLeaving();
    // A selection the filter read from the preview (all 0: none). One that is not
    // empty stores the settings, so that the preview measures in it.
    void TakeRegion(const RECT& region);
    const RECT& Region() const { return m_region; }

    QSlider* SmoothnessSlider() const { return m_smoothness; }
    QSlider* RedSlider() const { return m_levels[0]; }
    QSlider* GreenSlider() const { return m_levels[1]; }
    QSlider* BlueSlider() const { return m_levels[2]; }
    QPushButton* AutomaticProfileButton() const { return m_automaticProfile; }

protected:
    void StorePageKeys(CParamList& params) override;
    void ReloadControls(const CParamList& params) override;

private:
    void AddLevelsGroup();
    void OnAutomaticProfile();
    // Clears the region and has the preview drop its selection.
    void DropRegion();
    bool LevelsAllZero() const;

    QSlider* m_smoothness;
    QSlider* m_levels[3] = {};
    QPushButton* m_automaticProfile = nullptr;
    RECT m_region{0, 0, 0, 0};
    bool m_wasActive = false;
};
