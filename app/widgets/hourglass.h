// The hourglass cursor while a piece of work runs.
#pragma once

#include <QCursor>
#include <QGuiApplication>

/** Shows the hourglass for the lifetime of the object, when a GUI application runs. */
class THourglass
{
public:
    THourglass() : m_on(qobject_cast<QGuiApplication *>(QCoreApplication::instance()) != nullptr)
    {
        if (m_on)
            QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
    }
    ~THourglass()
    {
        if (m_on)
            QGuiApplication::restoreOverrideCursor();
    }
    THourglass(const THourglass &) = delete;
    THourglass &operator=(const THourglass &) = delete;

private:
    bool m_on;
};
