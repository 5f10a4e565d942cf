#pragma once
// A modal dialog that lets a status show itself: the status's own window fills it.

#include "Common/base/FilterInterfaces.h"

#include <QDialog>

class CDisplayableStatusDlg final : public QDialog {
public:
    // Holds a reference on displayable while the dialog lives.
    CDisplayableStatusDlg(IDisplayable* displayable, QWidget* parent);
    ~CDisplayableStatusDlg() override;
    CDisplayableStatusDlg(const CDisplayableStatusDlg&) = delete;
    CDisplayableStatusDlg& operator=(const CDisplayableStatusDlg&) = delete;

private:
    void ShowDisplayable();

    IDisplayable* m_displayable;
};
