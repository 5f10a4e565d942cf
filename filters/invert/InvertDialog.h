#pragma once
// The invert's settings: one check box per colour channel. Unlike the other dialogs
// it writes the whole parameter text on opening and on every click, and never
// follows a text set from outside while it is open.

#include "Common/dialogs/FilterDialog.h"

class QCheckBox;

class CInteractiveInvertDlg final : public CFilterDialog {
public:
    CInteractiveInvertDlg(QWidget* parent, IInteractiveFilter* filter, IPreviewSite* site);

    QCheckBox* RedBox() const { return m_red; }
    QCheckBox* GreenBox() const { return m_green; }
    QCheckBox* BlueBox() const { return m_blue; }

protected:
    bool event(QEvent* event) override;
    void StoreControls(CParamList& params) override;
    // Does nothing: what the filter's text says while the dialog is open is not shown.
    void ReloadControls(const CParamList& params) override;

private:
    QCheckBox* AddBox(unsigned textId, bool checked);
    void TakeStartFromFilter();
    void Store();

    QCheckBox* m_red;
    QCheckBox* m_green;
    QCheckBox* m_blue;
};
