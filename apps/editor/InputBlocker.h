#pragma once
// While a filter runs, the application still handles events (so that its progress
// shows and Cancel can be clicked), but nothing else may start: clicks, keys,
// shortcuts and drops outside the allowed widget are swallowed for the blocker's
// lifetime.

#include <QObject>
#include <QPointer>
#include <QWidget>

class CInputBlocker final : public QObject {
public:
    explicit CInputBlocker(QWidget* allowed);
    ~CInputBlocker() override;
    CInputBlocker(const CInputBlocker&) = delete;
    CInputBlocker& operator=(const CInputBlocker&) = delete;

protected:
    bool eventFilter(QObject* receiver, QEvent* event) override;

private:
    bool IsAllowed(QObject* receiver) const;

    QPointer<QWidget> m_allowed;
};
