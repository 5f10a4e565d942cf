#pragma once
// A parent widget that keeps the private messages its child controls post to it,
// so that a test sees what a dialog would be told.

#include "platform/DialogMessage.h"

#include <QCoreApplication>
#include <QWidget>

#include <vector>

class CMessageRecordingParent final : public QWidget {
public:
    // The messages delivered so far, after delivering what is posted.
    const std::vector<unsigned>& Delivered()
    {
        QCoreApplication::sendPostedEvents(this);
        return m_messages;
    }

protected:
    bool event(QEvent* event) override
    {
        if (event->type() != CDialogMessageEvent::EventType()) return QWidget::event(event);
        m_messages.push_back(static_cast<CDialogMessageEvent*>(event)->Message());
        return true;
    }

private:
    std::vector<unsigned> m_messages;
};
