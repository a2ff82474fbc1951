// The application object: the toolkit's event delivery wrapped so that an exception thrown by a
// handler reaches the program's exception handler instead of ending the process.
#pragma once

#include <QApplication>
#include <functional>

class TApplication : public QApplication
{
    Q_OBJECT
public:
    using ExceptionHandler = std::function<void(QObject *sender, const QString &message)>;

    TApplication(int &argc, char **argv);

    bool notify(QObject *receiver, QEvent *event) override;

    /** Installs the handler that is given every exception escaping an event handler. */
    static void SetExceptionHandler(ExceptionHandler handler);
    /** The standard display of an exception: an error box with the message. */
    static void ShowException(const QString &message);
    /** Reports an exception to the installed handler, or shows it the standard way. */
    static void HandleException(QObject *sender, const QString &message);
};
