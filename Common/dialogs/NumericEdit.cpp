#include "Common/dialogs/NumericEdit.h"

#include <QKeyEvent>

#include <charconv>

namespace {

bool IsAsciiDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

bool IsPoint(QChar c)
{
    return c == QLatin1Char('.') || c == QLatin1Char(',');
}

// Characters typed with Ctrl or Alt are shortcuts (copy, paste, undo); control
// characters such as backspace are editing keys. Both go to the field unfiltered.
bool IsTypedCharacter(const QKeyEvent* event)
{
    const QString typed = event->text();
    return typed.size() == 1 && typed[0].isPrint() &&
           (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) == 0;
}

}  // namespace

CNumericEdit::CNumericEdit(QWidget* parent, const QString& decimalSeparator)
    : QLineEdit(parent),
      m_separator(decimalSeparator)
{
}

QString CNumericEdit::Trimmed(QString text)
{
    while (text.endsWith(QLatin1Char(' '))) text.chop(1);
    if (text.contains(QLatin1Char('.')) || text.contains(QLatin1Char(','))) {
        while (text.endsWith(QLatin1Char('0'))) text.chop(1);
    }
    while (!text.isEmpty() && IsPoint(text.back())) text.chop(1);
    return text;
}

void CNumericEdit::ShowValue(double value)
{
    QString shown = QString::asprintf("%-15.4lf", value);
    shown.replace(QLatin1Char('.'), m_separator);
    shown = Trimmed(shown);
    if (Trimmed(text()) != shown) setText(shown);
}

bool CNumericEdit::ReadValue(double& value) const
{
    QString written = text();
    if (written.isEmpty()) return false;
    written.replace(m_separator, QStringLiteral("."));
    const QByteArray bytes = written.toLatin1();
    const char* first = bytes.constData();
    const char* last = first + bytes.size();
    while (first != last && (*first == ' ' || *first == '\t')) ++first;
    if (first != last && *first == '+') ++first;
    return std::from_chars(first, last, value).ec == std::errc();
}

void CNumericEdit::keyPressEvent(QKeyEvent* event)
{
    if (!IsTypedCharacter(event) || IsAsciiDigit(event->text()[0])) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    event->accept();
    if (IsPoint(event->text()[0]) && !HasPointOutsideSelection()) insert(QStringLiteral("."));
}

// Typing over a selection replaces it, so a point inside the selection does not count.
bool CNumericEdit::HasPointOutsideSelection() const
{
    QString kept = text();
    if (hasSelectedText()) kept.remove(selectionStart(), selectedText().size());
    return kept.contains(QLatin1Char('.')) || kept.contains(m_separator);
}
