// One application for the publishing tests: settings, documents and home in a temporary folder,
// the offscreen platform, and dialogs that never wait: unless a test installs its own, message
// boxes answer their default, file and colour dialogs are cancelled and modal forms rejected.
#include "prompter.h"
#include "uidialogs.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

int main(int argc, char **argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    QTemporaryDir home;
    if (!home.isValid())
        return 2;
    // Set before the first settings object: QSettings keeps the folder it found first.
    qputenv("HOME", home.path().toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", (home.path() + "/config").toLocal8Bit());
    qputenv("XDG_DATA_HOME", (home.path() + "/data").toLocal8Bit());
    qputenv("XDG_DOCUMENTS_DIR", (home.path() + "/Documents").toLocal8Bit());
    QDir().mkpath(home.path() + "/Documents");
    qputenv("QT_QPA_PLATFORM", "offscreen");
    int appArgc = 1;
    char *appArgv[] = {argv[0], nullptr};
    QApplication app(appArgc, appArgv);
    ScriptedPrompter prompter;
    ScriptedUiDialogs dialogs;
    return RUN_ALL_TESTS();
}
