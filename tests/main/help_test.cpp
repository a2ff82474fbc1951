// The Help menu's pages, the desktop shell, and the example list put back before the save question.
#include "mainwindowtest.h"

#include "cluesedit.h"
#include "hintfm.h"
#include "uidialogs.h"

#include <QAction>
#include <QDir>

TEST_F(MainWindowTest, HelpPagesOpenThroughTheShellOrSayWhatIsMissing)
{
    TMainFm *window = makeWindow();
    ScriptedPrompter prompter;
    RecordingShell shell;

    struct Case {
        const char *name;
        bool installed;
        bool shellWorks;
        int opened;
        const char *message; // the start of the box shown, empty for none
    };
    const Case cases[] = {
        {"a missing page", false, true, 0, "The help page \"Index.htm\" is not installed: the folder \""},
        {"an installed page", true, true, 1, ""},
        {"a shell that fails", true, false, 1, "The help page \""},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        QDir(programFile(QString())).mkpath(QStringLiteral("Help"));
        if (c.installed)
            writeFile(programFile(QStringLiteral("Help/Index.htm")), "<html></html>");
        else
            QFile::remove(programFile(QStringLiteral("Help/Index.htm")));
        shell.Opened.clear();
        shell.Result = c.shellWorks;
        prompter.boxes.clear();
        window->mHelpContents->trigger();
        EXPECT_EQ(shell.Opened.size(), c.opened);
        if (c.opened) {
            EXPECT_EQ(shell.Opened.first().toLocalFile(),
                      QDir::cleanPath(programFile(QStringLiteral("Help/Index.htm"))));
        }
        if (*c.message) {
            ASSERT_EQ(prompter.boxes.size(), 1);
            EXPECT_TRUE(prompter.lastText().startsWith(QLatin1String(c.message))) << prompter.lastText().toStdString();
        } else {
            EXPECT_TRUE(prompter.boxes.isEmpty());
        }
    }
}

TEST_F(MainWindowTest, TheSaveQuestionPutsTheUsersListBackBeforeAsking)
{
    TMainFm *window = makeWindow();
    ScriptedPrompter prompter;
    prompter.answers = {Prompter::Cancel};
    window->ClueEditor->SetAllText(QStringLiteral("HERON\tA wading bird"));
    window->ExampleLnkClick();
    ASSERT_NE(window->ClueEditor->GetAllText(), QStringLiteral("HERON\tA wading bird"));

    EXPECT_EQ(window->QuerySaveChanges(), 2);
    EXPECT_EQ(window->ClueEditor->GetAllText(), QStringLiteral("HERON\tA wading bird"));
    EXPECT_FALSE(window->HintFm->isVisible());
    EXPECT_EQ(prompter.boxes.size(), 1);
}
