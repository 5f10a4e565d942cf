#include "apps/editor/InputBlocker.h"

#include <QApplication>
#include <QEvent>

namespace {

bool IsUserInput(QEvent::Type type)
{
    switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::Wheel:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::Shortcut:
    case QEvent::ShortcutOverride:
    case QEvent::ContextMenu:
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
        return true;
    default:
        return false;
    }
}

} // namespace

CInputBlocker::CInputBlocker(QWidget* allowed) : m_allowed(allowed)
{
    qApp->installEventFilter(this);
    QApplication::setOverrideCursor(Qt::BusyCursor);
}

CInputBlocker::~CInputBlocker()
{
    QApplication::restoreOverrideCursor();
    qApp->removeEventFilter(this);
}

bool CInputBlocker::eventFilter(QObject* receiver, QEvent* event)
{
    return IsUserInput(event->type()) && !IsAllowed(receiver);
}

bool CInputBlocker::IsAllowed(QObject* receiver) const
{
    const auto* widget = qobject_cast<const QWidget*>(receiver);
    return widget != nullptr && m_allowed && (widget == m_allowed || m_allowed->isAncestorOf(widget));
}
