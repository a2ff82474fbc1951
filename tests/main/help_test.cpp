// The Help menu's pages, the desktop shell, and the example list put back before commands.
#include "mainwindowtest.h"

#include "checkpts.h"
#include "cluesedit.h"
#include "hintfm.h"
#include "uidialogs.h"

#include <QAction>
#include <QDir>

#include <functional>

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
            EXPECT_TRUE(prompter.lastText().startsWith(QLatin1String(c.message)))
                << prompter.lastText().toStdString();
        } else {
            EXPECT_TRUE(prompter.boxes.isEmpty());
        }
    }
}

TEST_F(MainWindowTest, CommandsActOnTheUsersListNotTheExample)
{
    TMainFm *window = makeWindow();
    ScriptedPrompter prompter;
    const QString mine = QStringLiteral("HERON\tA wading bird");
    const struct {
        const char *name;
        std::function<void()> command;
    } commands[] = {
        {"the save question",
         [&] {
             prompter.answers = {Prompter::Cancel};
             EXPECT_EQ(window->QuerySaveChanges(), 2);
             EXPECT_EQ(prompter.boxes.size(), 1);
         }},
        {"a checkpoint", [] { TakeCheckPoint(TCheckPointKind::Layout, QStringLiteral("edit")); }},
        {"Make Puzzle", [&] { window->ConstructSpBtnClick(); }},
    };
    for (const auto &c : commands) {
        SCOPED_TRACE(c.name);
        window->ClueEditor->SetAllText(mine);
        window->ExampleLnkClick();
        ASSERT_NE(window->ClueEditor->GetAllText(), mine);
        prompter.boxes.clear();
        c.command();
        EXPECT_EQ(window->ClueEditor->GetAllText(), mine);
        EXPECT_FALSE(window->HintFm->isVisible());
    }

    // A balloon other than the example stays open over a checkpoint.
    window->ShowBalloon(QStringLiteral("A hint"), 100, 30, 100);
    TakeCheckPoint(TCheckPointKind::Layout, QStringLiteral("edit"));
    EXPECT_TRUE(window->HintFm->isVisible());
    window->HintFm->CloseBalloon();
}
