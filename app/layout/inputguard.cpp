// Input held away from the program while a long job pumps messages.
#include "inputguard.h"

#include <QApplication>
#include <QCloseEvent>
#include <QMetaObject>
#include <QWidget>

#include <utility>

namespace {

int g_depth = 0;
QList<QPointer<QObject>> g_held;
QList<QPointer<QWidget>> g_closeLater;

bool isInput(QEvent::Type type)
{
    switch (type) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::Shortcut:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::Wheel:
    case QEvent::ContextMenu:
    case QEvent::InputMethod:
    case QEvent::TabletPress:
    case QEvent::TabletRelease:
    case QEvent::TabletMove:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::NativeGesture:
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop: return true;
    default: return false;
    }
}

// The widget an object belongs to: itself, or the nearest widget among its parents (a QAction
// or QShortcut belongs to the widget that holds it).
QWidget *owningWidget(QObject *object)
{
    for (QObject *o = object; o; o = o->parent())
        if (o->isWidgetType())
            return static_cast<QWidget *>(o);
    return nullptr;
}

} // namespace

TInputGuard::TInputGuard(QWidget *allowed) : m_allowed(allowed)
{
    ++g_depth;
    if (QCoreApplication *app = QCoreApplication::instance())
        app->installEventFilter(this);
}

TInputGuard::~TInputGuard()
{
    if (QCoreApplication *app = QCoreApplication::instance())
        app->removeEventFilter(this);
    if (--g_depth > 0)
        return;
    // Windows asked to close during the job close now, through the event loop.
    const QList<QPointer<QWidget>> closing = std::exchange(g_closeLater, {});
    for (const QPointer<QWidget> &w : closing)
        if (w)
            QMetaObject::invokeMethod(w.data(), &QWidget::close, Qt::QueuedConnection);
}

void TInputGuard::HoldTimers(QObject *object)
{
    if (object && !g_held.contains(object))
        g_held.append(object);
}

void TInputGuard::ReleaseTimers(QObject *object) { g_held.removeAll(object); }

bool TInputGuard::takesInput(QObject *receiver) const
{
    // Window-system events reach the QWindow first; the widget they go to next is checked.
    if (!receiver->isWidgetType() && receiver->isWindowType())
        return true;
    QWidget *w = owningWidget(receiver);
    if (!w)
        return false;
    // A popup (a list dropped from a combo box) belongs to the window that opened it.
    QWidget *window = w->window();
    while (window && window->windowType() == Qt::Popup && window->parentWidget())
        window = window->parentWidget()->window();
    if (!window)
        return false;
    if (m_allowed && window == m_allowed->window())
        return true;
    // The job's own questions (the page choice, a message box) are modal.
    return window->isModal();
}

bool TInputGuard::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if (isInput(type)) {
        if (takesInput(watched))
            return false;
        event->ignore();
        return true;
    }
    // Only the user's close waits; a window closing itself (a dialog's done(), a balloon's
    // timer) goes on.
    if (type == QEvent::Close && event->spontaneous() && watched->isWidgetType()) {
        auto *w = static_cast<QWidget *>(watched);
        if (w->isWindow() && !takesInput(w)) {
            if (!g_closeLater.contains(w))
                g_closeLater.append(w);
            event->ignore();
            return true;
        }
        return false;
    }
    if (type == QEvent::Timer && !g_held.isEmpty() && g_held.contains(watched))
        return true;
    return false;
}
