// The application object with its exception handling around event delivery.
#include "application.h"

#include "prompter.h"

#include <exception>

namespace {
TApplication::ExceptionHandler &handler()
{
    static TApplication::ExceptionHandler h;
    return h;
}
} // namespace

TApplication::TApplication(int &argc, char **argv) : QApplication(argc, argv) {}

void TApplication::SetExceptionHandler(ExceptionHandler h) { handler() = std::move(h); }

void TApplication::ShowException(const QString &message) { showError(message); }

void TApplication::HandleException(QObject *sender, const QString &message)
{
    if (handler())
        handler()(sender, message);
    else
        ShowException(message);
}

bool TApplication::notify(QObject *receiver, QEvent *event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception &e) {
        HandleException(receiver, QString::fromLocal8Bit(e.what()));
    } catch (...) {
        HandleException(receiver, QStringLiteral("Unknown exception"));
    }
    return false;
}
