#pragma once
// Looks at the modal window a call opens while it is open, then closes it, so that a
// test checks what the user saw rather than what was left after the box closed. A
// call that opens nothing leaves the probe empty. The probe polls with a timer of its
// own, so nothing of it outlives the test that made it.

#include <QApplication>
#include <QMessageBox>
#include <QSize>
#include <QString>
#include <QTimer>
#include <QWidget>

class CModalProbe {
public:
    CModalProbe()
    {
        m_poll.setInterval(5);
        QObject::connect(&m_poll, &QTimer::timeout, [this] { Look(); });
        m_poll.start();
    }

    bool Opened() const { return opened > 0; }

    // How many modal windows the probe closed; the fields describe the first.
    int opened = 0;
    QString className;
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QSize size;
    QWidget* parent = nullptr;

private:
    void Look()
    {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr) return;
        // Every one is closed, so that a call opening more than expected fails
        // instead of waiting for a user.
        if (opened++ > 0) {
            modal->close();
            return;
        }
        className = QString::fromLatin1(modal->metaObject()->className());
        title = modal->windowTitle();
        size = modal->size();
        parent = modal->parentWidget();
        if (const auto* box = qobject_cast<QMessageBox*>(modal)) {
            text = box->text();
            icon = box->icon();
        }
        modal->close();
    }

    QTimer m_poll;
};
