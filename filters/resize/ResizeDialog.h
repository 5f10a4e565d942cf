#pragma once
// The resize settings: the new size in pixels, percent, inches or centimetres, the
// resolution in dots per inch, whether proportions are kept, whether the pixels are
// resampled at all and by which method, and a summary of the result.

#include "Common/dialogs/FilterDialog.h"
#include "host/HostInterfaces.h"
#include "platform/ComPtr.h"

class CNumericEdit;
class QCheckBox;
class QComboBox;
class QGridLayout;
class QLabel;

class CDlgInteractiveResize final : public CFilterDialog {
public:
    // Reads the size and resolution of source, which it holds a reference on.
    CDlgInteractiveResize(QWidget* parent, IInteractiveFilter* filter, IPreviewSite* site, IUnknown* source);

    CNumericEdit* WidthEdit() const { return m_fields[kWidth]; }
    CNumericEdit* HeightEdit() const { return m_fields[kHeight]; }
    CNumericEdit* ResolutionXEdit() const { return m_fields[kResolutionX]; }
    CNumericEdit* ResolutionYEdit() const { return m_fields[kResolutionY]; }
    QComboBox* WidthUnitList() const { return m_widthUnitList; }
    QComboBox* HeightUnitList() const { return m_heightUnitList; }
    QComboBox* MethodList() const { return m_methodList; }
    QCheckBox* ConstrainBox() const { return m_constrainBox; }
    QCheckBox* ResampleBox() const { return m_resampleBox; }
    QLabel* Summary() const { return m_summary; }

protected:
    void StoreControls(CParamList& params) override;
    void ReloadControls(const CParamList& params) override;
    // Invalid settings are never stored: the filter keeps its last valid ones.
    bool event(QEvent* event) override;

private:
    enum Field { kWidth, kHeight, kResolutionX, kResolutionY, kFieldCount, kNoField = kFieldCount };

    void BuildControls();
    CNumericEdit* AddField(QGridLayout* grid, int row, unsigned labelId, Field field);
    QComboBox* AddUnitList(QGridLayout* grid, int row);
    void ConnectControls();

    void OnFieldEdited(Field edited);
    void OnUnitChosen(Field field, int unit);
    void OnConstrainToggled(bool on);
    void OnResampleToggled(bool on);
    void OnMethodChosen(int index);

    bool ReadFields();
    void FollowEditedField(Field edited);
    void HeightFollowsWidth();
    void WidthFollowsHeight();
    void SizesFollowResolution();
    void ReadKeys(const CParamList& params);

    int WidthInPixels() const;
    int HeightInPixels() const;
    bool SettingsValid() const;
    double& ValueOf(Field field);
    void WriteFields(Field except);
    void WriteSummary();
    void ShowChoices();

    CComPtr<IImage> m_source;
    int m_sourceWidth = 0;
    int m_sourceHeight = 0;
    int m_sourceResolutionX = 0;
    int m_sourceResolutionY = 0;
    int m_newWidth = 0;
    int m_newHeight = 0;
    // The resolution the new pixel size was last stored with.
    int m_storedResolutionX = 0;
    int m_storedResolutionY = 0;
    double m_widthInUnit = 0.0;
    double m_heightInUnit = 0.0;
    double m_resolutionX = 0.0;
    double m_resolutionY = 0.0;
    bool m_constrain = true;
    bool m_resample = true;
    int m_widthUnit = 0;
    int m_heightUnit = 0;
    int m_method = 4;
    QString m_decimalSeparator;
    // Set while the dialog writes its own fields, whose change signals then do nothing.
    bool m_writingFields = false;

    CNumericEdit* m_fields[kFieldCount] = {};
    QComboBox* m_widthUnitList = nullptr;
    QComboBox* m_heightUnitList = nullptr;
    QComboBox* m_methodList = nullptr;
    QCheckBox* m_constrainBox = nullptr;
    QCheckBox* m_resampleBox = nullptr;
    QLabel* m_summary = nullptr;
};
