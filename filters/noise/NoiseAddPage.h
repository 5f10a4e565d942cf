#pragma once
// The page of adding noise: the amount, as a trackbar of hundredths.

#include "filters/noise/NoiseDialogPage.h"

class QSlider;

// Position p stands for the amount p / 100; an amount for the position
// floor(amount * 100 + 0.5), both kept within their ranges.
double NoiseAmountAt(int position);
int NoiseAmountPosition(double amount);

class CNoiseAddNoisePage final : public CNoisePage {
public:
    CNoiseAddNoisePage(IInteractiveFilter* filter, IPreviewSite* site);

    QSlider* AmountSlider() const { return m_amount; }

protected:
    void StorePageKeys(CParamList& params) override;
    void ReloadControls(const CParamList& params) override;

private:
    QSlider* m_amount;
};
