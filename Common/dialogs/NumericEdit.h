#pragma once
// An edit field for a non-negative decimal number: it takes digits and one decimal
// point only (a typed "," becomes "."), and shows numbers with the locale's decimal
// separator and without trailing zeros.

#include <QLineEdit>

class CNumericEdit final : public QLineEdit {
public:
    CNumericEdit(QWidget* parent, const QString& decimalSeparator);

    // Shows value with four decimals at most. The text is replaced only when it shows
    // another number, so that an edit in progress such as "2.50" stays as typed.
    void ShowValue(double value);
    // The text as a number, read like "%lf" once the locale's separator is a point;
    // false for an empty or unreadable text.
    bool ReadValue(double& value) const;

    // Without trailing blanks, trailing zeros of a fraction and a trailing point.
    static QString Trimmed(QString text);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    bool HasPointOutsideSelection() const;

    QString m_separator;
};
