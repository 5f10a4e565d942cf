#pragma once
// Private messages posted to a dialog window: they arrive later, on the dialog's
// thread, in the order they were posted, whoever posted them.

#include "platform/WindowHandle.h"

#include <QEvent>

class QWidget;

inline constexpr unsigned kApplicationMessageBase = 0x8000;
inline constexpr unsigned kStoreMessage = kApplicationMessageBase + 1;   // controls → parameter text
inline constexpr unsigned kReloadMessage = kApplicationMessageBase + 2;  // parameter text → controls

class CDialogMessageEvent final : public QEvent {
public:
    explicit CDialogMessageEvent(unsigned message);

    // The one event type that carries every private message.
    static QEvent::Type EventType();

    unsigned Message() const { return m_message; }

private:
    unsigned m_message;
};

// Safe from any thread; the dialog must stay alive until the event is delivered or
// deleted with it.
void PostDialogMessage(QWidget* dialog, unsigned message);

// The window handle of a widget and back; a handle is only a name for the widget.
HWND HandleOfWidget(QWidget* widget);
QWidget* WidgetOfHandle(HWND handle);
