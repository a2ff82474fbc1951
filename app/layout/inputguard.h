// Keeps user input away from the program while a long job pumps messages on the user interface
// thread: only the job's own window (its Cancel) and modal windows it opens take input; painting,
// timers and posted calls run as usual.
#pragma once

#include <QList>
#include <QObject>
#include <QPointer>

class QWidget;

/** While a guard lives, an application event filter drops keyboard, mouse, wheel, touch,
 *  shortcut, context-menu and drag input aimed anywhere but the allowed window, modal windows
 *  and their popups. A window the user closes meanwhile is closed once the last guard ends, and
 *  objects held with HoldTimers get no timer events until then (their timers stay armed, so
 *  idle work waits instead of running in the middle of the job). */
class TInputGuard : public QObject
{
public:
    explicit TInputGuard(QWidget *allowed = nullptr);
    ~TInputGuard() override;
    TInputGuard(const TInputGuard &) = delete;
    TInputGuard &operator=(const TInputGuard &) = delete;

    /** Holds back the timer events of the object (the window's idle timer) while guards live. */
    static void HoldTimers(QObject *object);
    static void ReleaseTimers(QObject *object);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool takesInput(QObject *receiver) const;

    QPointer<QWidget> m_allowed;
};
