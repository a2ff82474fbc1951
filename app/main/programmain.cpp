// The program's main block: the application, the start-up forms and the message loop.
#include "application.h"
#include "globals.h"
#include "myoverrides.h"
#include "prompter.h"
#include "startup.h"

int ProgramMain(int argc, char **argv)
{
    TApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Tarvel"));
    InitGlobals();
    InstallLabelOverrides(&app);
    installEngineMessageHandler();
    TStartUp startUp;
    startUp.Run();
    return TApplication::exec();
}

int main(int argc, char **argv)
{
    return ProgramMain(argc, argv);
}
