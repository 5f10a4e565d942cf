#pragma once
// The median's settings: one trackbar for the radius, 1 to 4.

#include "Common/dialogs/FilterDialog.h"

class QSlider;

class CInteractiveMedianDlg final : public CFilterDialog {
public:
    CInteractiveMedianDlg(QWidget* parent, IInteractiveFilter* filter, IPreviewSite* site);

    QSlider* SizeSlider() const { return m_size; }

protected:
    void StoreControls(CParamList& params) override;
    void ReloadControls(const CParamList& params) override;

private:
    QSlider* m_size;
};
