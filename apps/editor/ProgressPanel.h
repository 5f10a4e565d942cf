#pragma once
// The status line's progress display while a filter runs: what it does, how far it
// is, and a Cancel button.

#include <QWidget>

class QLabel;
class QProgressBar;
class QPushButton;

class CProgressPanel : public QWidget {
    Q_OBJECT

public:
    explicit CProgressPanel(QWidget* parent = nullptr);

    // Shown, empty, not cancelled; title names the work until the filter says more.
    void Begin(const QString& title);
    void SetText(const QString& text);
    void SetStep(int done, int total);
    void End();

    bool CancelRequested() const { return m_cancelRequested; }
    void RequestCancel();
    QPushButton* CancelButton() const { return m_cancel; }

private:
    QLabel* m_text;
    QProgressBar* m_bar;
    QPushButton* m_cancel;
    bool m_cancelRequested = false;
};
