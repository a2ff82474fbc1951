#include "exitwhenopened.h"

#include "globals.h"
#include "mainfm.h"

#include <QApplication>
#include <QDir>
#include <QMessageBox>
#include <QTimer>

#include <cstdio>
#include <cstdlib>

void ExitWhenOpenedIfAsked()
{
    if (qEnvironmentVariable(kExitWhenOpenedVariable) != QLatin1String("1"))
        return;
    auto *timer = new QTimer(qApp);
    timer->setInterval(100);
    // The timer keeps running while the window closes, so that a question at close is caught too.
    QObject::connect(timer, &QTimer::timeout, timer, [closing = false]() mutable {
        if (QWidget *modal = QApplication::activeModalWidget()) {
            const auto *box = qobject_cast<QMessageBox *>(modal);
            std::fprintf(stderr, "%s: %s\n", qPrintable(modal->windowTitle()),
                         box ? qPrintable(box->text())
                             : qPrintable(QString::fromLatin1(modal->metaObject()->className())));
            std::fflush(stderr);
            std::_Exit(3);
        }
        if (closing || !MainFormReady || FirstIdle || !MainFm)
            return;
        closing = true;
        // The engine reads its dictionary from the current folder, which start-up moved to the
        // program folder when the data was not where the program started.
        std::printf("folder: %s\n", qPrintable(QDir::currentPath()));
        std::fflush(stdout);
        MainFm->close();
        QCoreApplication::quit();
    });
    timer->start();
}
