#pragma once
// The unsharp mask's page: the blur's size, the amount of the difference added back,
// and the noise threshold below which nothing is sharpened.

#include "filters/sharpen/SharpenDialogPage.h"

class CSharpenUnsharpMaskPage final : public CSharpenPage {
public:
    CSharpenUnsharpMaskPage(IInteractiveFilter* filter, IPreviewSite* site);

    QSlider* SizeSlider() const { return m_size; }
    QSlider* AmountSlider() const { return m_amount; }
    QSlider* ThresholdSlider() const { return m_threshold; }

protected:
    void StorePageKeys(CParamList& params) override;
    void ReloadControls(const CParamList& params) override;

private:
    QSlider* m_size;
    QSlider* m_amount;
    QSlider* m_threshold;
};
