#pragma once
// The side panel that holds a filter's settings dialog while the user works with
// it: the filter's name, the dialog, and OK and Cancel.

#include <QWidget>

class QDialogButtonBox;
class QLabel;

class CFilterPanel : public QWidget {
    Q_OBJECT

public:
    explicit CFilterPanel(QWidget* parent = nullptr);

    void Open(const QString& filterName);
    void Close();
    // The parent of the filter's dialog; the dialog joins its layout with Place.
    QWidget* DialogParent() const { return m_dialogParent; }
    void Place(QWidget* dialog);

    QDialogButtonBox* Buttons() const { return m_buttons; }

signals:
    void accepted();
    void rejected();

private:
    QLabel* m_title;
    QWidget* m_dialogParent;
    QDialogButtonBox* m_buttons;
};
