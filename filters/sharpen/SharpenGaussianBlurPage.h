#pragma once
// The Gaussian blur's page: the blur's size.

#include "filters/sharpen/SharpenDialogPage.h"

class CSharpenGaussianBlurPage final : public CSharpenPage {
public:
    CSharpenGaussianBlurPage(IInteractiveFilter* filter, IPreviewSite* site);

    QSlider* SizeSlider() const { return m_size; }

protected:
    void StorePageKeys(CParamList& params) override;
    void ReloadControls(const CParamList& params) override;

private:
    QSlider* m_size;
};
