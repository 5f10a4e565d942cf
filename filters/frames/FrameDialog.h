#pragma once
// The frame filter's settings: a drop-down list of the frame types above the panel of
// the selected one. Panels are made when their type is first chosen and kept, hidden,
// when another is chosen, so a type's values survive a look at the others.

#include "Common/dialogs/FilterDialog.h"

#include <map>

class CFramePanel;
class CFrameType;
class CInteractiveFrameFilter;
class QComboBox;
class QVBoxLayout;

class CInteractiveFrameFilterDlg final : public CFilterDialog {
public:
    CInteractiveFrameFilterDlg(QWidget* parent, CInteractiveFrameFilter* filter, IPreviewSite* site);

    QComboBox* TypeList() const { return m_list; }
    // The panel of the selected type.
    CFramePanel* Panel() const { return m_panel; }

protected:
    void StoreControls(CParamList& params) override;
    void ReloadControls(const CParamList& params) override;

private:
    void Select(int index);

    CInteractiveFrameFilter* m_frames;
    QComboBox* m_list;
    QVBoxLayout* m_layout;
    // The dialog's own choice: an apply may select another type from the text
    // before the reload message reaches the dialog.
    const CFrameType* m_type = nullptr;
    CFramePanel* m_panel = nullptr;
    std::map<const CFrameType*, CFramePanel*> m_panels;
};
