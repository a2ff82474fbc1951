// One application for the main-window tests: settings, data and home in a temporary folder,
// the offscreen platform, and a first command-line parameter naming a file for the idle test.
#include "testsupport.h"

#include "application.h"
#include "prompter.h"
#include "uidialogs.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {
QString g_home;
QString g_argumentFile;
} // namespace

QString TestHome() { return g_home; }

QString CommandLineFile() { return g_argumentFile; }

int main(int argc, char **argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    QTemporaryDir home;
    g_home = home.path();
    qputenv("HOME", g_home.toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", (g_home + "/config").toLocal8Bit());
    qputenv("XDG_DATA_HOME", (g_home + "/data").toLocal8Bit());
    qputenv("XDG_DATA_DIRS", (g_home + "/common").toLocal8Bit()); // the "common" data folder
    qputenv("XDG_RUNTIME_DIR", (g_home + "/run").toLocal8Bit());
    QDir().mkpath(g_home + "/run");
    QFile::setPermissions(g_home + "/run", QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("TRV_NO_FADE", "1");

    // The first parameter names a file of no known format, so opening it shows one box.
    g_argumentFile = g_home + "/argument.trv";
    QFile file(g_argumentFile);
    if (!file.open(QIODevice::WriteOnly))
        return 2;
    file.write("not a puzzle\r\n");
    file.close();
    QByteArray argument = g_argumentFile.toLocal8Bit();
    int appArgc = 2;
    char *appArgv[] = {argv[0], argument.data(), nullptr};
    TApplication app(appArgc, appArgv);
    app.setQuitOnLastWindowClosed(false);
    // No test ever waits on a dialog: unless a test installs its own, message boxes answer
    // their default, file and colour dialogs are cancelled and modal forms rejected.
    ScriptedPrompter prompter;
    ScriptedUiDialogs dialogs;
    return RUN_ALL_TESTS();
}
