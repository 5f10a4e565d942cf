#include "platform/DialogMessage.h"

#include <QCoreApplication>
#include <QWidget>

CDialogMessageEvent::CDialogMessageEvent(unsigned message) : QEvent(EventType()), m_message(message) {}

QEvent::Type CDialogMessageEvent::EventType()
{
    static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
}

void PostDialogMessage(QWidget* dialog, unsigned message)
{
    if (dialog != nullptr) QCoreApplication::postEvent(dialog, new CDialogMessageEvent(message));
}

HWND HandleOfWidget(QWidget* widget)
{
    return reinterpret_cast<HWND>(widget);
}

QWidget* WidgetOfHandle(HWND handle)
{
    return reinterpret_cast<QWidget*>(handle);
}
