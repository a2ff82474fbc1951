// The program's main block: the application, the start-up forms and the message loop.
#include "application.h"
#include "constructingdlg.h"
#include "exitwhenopened.h"
#include "exportgraphicfm.h"
#include "exporttextfm.h"
#include "globals.h"
#include "mainfm.h"
#include "myoverrides.h"
#include "pagechoicefm.h"
#include "pdfpagechoicefm.h"
#include "prompter.h"
#include "publishpreffm.h"
#include "sizefm.h"
#include "spellingdlg.h"
#include "startup.h"

int ProgramMain(int argc, char **argv)
{
    // Relative names on the command line are the user's, relative to where the program started.
    TStartUp::StartFolder();
    TApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Tarvel"));
    InitGlobals();
    InstallLabelOverrides(&app);
    installEngineMessageHandler();
    TStartUp::SetFormFactory(QStringLiteral("TSizeFm"), [] { return new TSizeFm(MainFm); });
    TStartUp::SetFormFactory(QStringLiteral("TConstructingDlg"), [] {
        auto *dialog = new TConstructingDlg(MainFm);
        ConnectAutoLayoutProgress(dialog);
        return dialog;
    });
    TStartUp::SetFormFactory(QStringLiteral("TPageChoiceFm"), [] { return new TPageChoiceFm(MainFm); });
    TStartUp::SetFormFactory(QStringLiteral("TSpellingDlg"), [] { return new TSpellingDlg(MainFm); });
    TStartUp::SetFormFactory(QStringLiteral("TPdfPageChoiceFm"), [] { return new TPdfPageChoiceFm(MainFm); });
    TStartUp::SetFormFactory(QStringLiteral("TExportGraphicFm"), [] { return new TExportGraphicFm(MainFm); });
    TStartUp::SetFormFactory(QStringLiteral("TExportTextFm"), [] { return new TExportTextFm(MainFm); });
    TStartUp startUp;
    TStartUp::SetFormFactory(QStringLiteral("TPublishPrefFm"), [&startUp]() -> QWidget * {
        return MainFm->EnsurePublishPrefFm([&startUp](int percent) { startUp.Progress(percent); });
    });
    startUp.Run();
    ExitWhenOpenedIfAsked();
    return TApplication::exec();
}

int main(int argc, char **argv) { return ProgramMain(argc, argv); }
