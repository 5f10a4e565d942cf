#pragma once
// The free rotation's dialog: quick buttons for the right angles, the angle as a
// number with arrows and as a dial, the background colour, the crop type and the
// automatic angle. A line drawn on the preview turns the picture through the filter.

#include "Common/dialogs/FilterDialog.h"

#include <cstdint>

class CColorButton;
class CVisualAngleCtrl;
class QButtonGroup;
class QComboBox;
class QLineEdit;
class QPushButton;
class QToolButton;

class CInteractiveRotateDlg final : public CFilterDialog {
public:
    // The quick buttons' order, which is also the dialog's radio index.
    enum Choice { kNoRotation, kLeft90, kRight90, kHalfTurn, kCustom };

    CInteractiveRotateDlg(QWidget* parent, IInteractiveFilter* filter, IPreviewSite* site);

    QButtonGroup* Choices() const { return m_choices; }
    QLineEdit* AngleEdit() const { return m_angleEdit; }
    QToolButton* AngleUp() const { return m_up; }
    QToolButton* AngleDown() const { return m_down; }
    CVisualAngleCtrl* Dial() const { return m_dial; }
    CColorButton* Background() const { return m_background; }
    QComboBox* CropTypes() const { return m_cropTypes; }
    QPushButton* Autorotate() const { return m_autorotate; }
    double Angle() const { return m_angle; }

protected:
    void StoreControls(CParamList& params) override;
    void ReloadControls(const CParamList& params) override;
    bool event(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void BuildControls();
    void TakeStartFromFilter();
    void OnChoice(int choice);
    void OnAngleEdited(const QString& text);
    void OnArrow(int step);
    void OnAutorotate();
    // The edit, the dial and the quick buttons after the angle changed.
    void ShowAngle();
    void SelectChoiceOfAngle();
    void StoreAfterInitialisation();

    double m_angle = 0.0;
    uint32_t m_color = 0;
    int m_cropType = 0;
    bool m_initialised = false;

    QButtonGroup* m_choices = nullptr;
    QLineEdit* m_angleEdit = nullptr;
    QToolButton* m_up = nullptr;
    QToolButton* m_down = nullptr;
    CVisualAngleCtrl* m_dial = nullptr;
    CColorButton* m_background = nullptr;
    QComboBox* m_cropTypes = nullptr;
    QPushButton* m_autorotate = nullptr;
};
