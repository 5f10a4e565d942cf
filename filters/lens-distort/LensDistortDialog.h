#pragma once
// Lens Distort's settings: one trackbar of a thousand steps from pincushion on the
// left through 0 in the middle to barrel on the right.

#include "Common/dialogs/FilterDialog.h"

class QSlider;

class CDlgLensDistort final : public CFilterDialog {
public:
    CDlgLensDistort(QWidget* parent, IInteractiveFilter* filter, IPreviewSite* site);

    QSlider* CoefficientSlider() const { return m_coefficient; }

protected:
    void StoreControls(CParamList& params) override;
    void ReloadControls(const CParamList& params) override;

private:
    QSlider* m_coefficient;
};
