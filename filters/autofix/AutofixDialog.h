#pragma once
// Four check boxes, one per fix, in the order colours, exposure, noise, rotation.
// Unlike most dialogs, a reload clears the box of a key the text lacks: a text
// names every fix it wants run.

#include "Common/dialogs/FilterDialog.h"

class QCheckBox;

class CDlgInteractiveAutofix final : public CFilterDialog {
public:
    CDlgInteractiveAutofix(QWidget* parent, IInteractiveFilter* filter, IPreviewSite* site);

    QCheckBox* ColorsBox() const { return m_colors; }
    QCheckBox* ExposureBox() const { return m_exposure; }
    QCheckBox* NoiseBox() const { return m_noise; }
    QCheckBox* RotationBox() const { return m_rotation; }

protected:
    void StoreControls(CParamList& params) override;
    void ReloadControls(const CParamList& params) override;

private:
    QCheckBox* AddBox(unsigned textId, bool checked);

    QCheckBox* m_colors;
    QCheckBox* m_exposure;
    QCheckBox* m_noise;
    QCheckBox* m_rotation;
};
