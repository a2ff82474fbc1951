// The Layout && Fonts menu and the other ways into the layout dialog: each opens the tab its
// caption names; "Redo Auto-Layout Now" asks first while the expert is switched off.
#include "mainwindowtest.h"

#include "autolayout.h"
#include "cluespg.h"
#include "globals.h"
#include "layoutdlg.h"
#include "uidialogs.h"

#include <QAction>
#include <QCheckBox>
#include <QMenu>
#include <QTabWidget>

TEST(LayoutMenuTest, TabTextOfACaption)
{
    const struct {
        const char *caption, *tab;
    } cases[] = {
        {"&Puzzle Grid ...", "Puzzle"},
        {"&Margin && Border ...", "Margin && Border"},
        {"Clue Te&xt ...", "Clue Text"},
        {"&Configure Auto-Layout Expert ...", "Configure Auto-Layout Expert"},
        {"&Solution Grid ...", "Solution"},
        {"&Word Bank ...", "Word Bank"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(TMainFm::LayoutTabTextOfCaption(QString::fromLatin1(c.caption)),
                  QString::fromLatin1(c.tab));
}

TEST_F(MainWindowTest, LayoutItemsOpenTheirTabs)
{
    TMainFm *window = makeWindow();
    ScriptedUiDialogs dialogs;
    QString shownTab;
    dialogs.OnModal = [&](QDialog &form) {
        if (auto *layout = qobject_cast<TLayoutDlg *>(&form))
            shownTab = layout->LayoutPgCtl()->tabText(layout->LayoutPgCtl()->currentIndex());
    };
    const struct {
        const char *item, *tabStart;
    } cases[] = {
        {"mLayoutMargin", "Margin"},         {"mLayoutPuzzle", "Puzzle"},
        {"mLayoutTitle", "Title"},           {"mLayoutWordBank", "Word Bank"},
        {"mCluesFont", "Clue Text"},         {"mCluesColumns", "Clue Columns"},
        {"mGridChangeSolution", "Solution"}, {"mLayoutConfigure", "Auto-Layout"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.item);
        auto *item = window->findChild<QAction *>(QLatin1String(c.item));
        ASSERT_NE(item, nullptr);
        shownTab.clear();
        item->trigger();
        EXPECT_TRUE(shownTab.startsWith(QLatin1String(c.tabStart))) << shownTab.toStdString();
    }
}

TEST_F(MainWindowTest, RedoAutoLayoutAsksWhileTheExpertIsOff)
{
    TMainFm *window = makeWindow();
    ScriptedPrompter prompter;
    ScriptedUiDialogs dialogs;
    window->AutoLayoutCB->setChecked(false);
    DocControls.AutoLayout = false;
    prompter.answers = {Prompter::No};
    window->mLayoutDoAutoLayoutNow->trigger();
    ASSERT_EQ(prompter.boxes.size(), 1);
    EXPECT_TRUE(
        prompter.lastText().startsWith(QStringLiteral("The Auto-Layout Expert is currently disabled.")));
    EXPECT_TRUE(dialogs.Asked.isEmpty());

    prompter.answers = {Prompter::Yes};
    window->mLayoutDoAutoLayoutNow->trigger();
    EXPECT_EQ(dialogs.Asked, QStringList{QStringLiteral("modal: LayoutDlg")});
}

TEST_F(MainWindowTest, RedoAutoLayoutLaysTheOpenPuzzleOut)
{
    const QString puzzle = QStringLiteral(TRV_TEST_DATA) + "/layout/puzzle15.trv";
    TMainFm *window = makeWindow();
    ScriptedPrompter prompter;
    window->SetAutoClueSymmetrical(false);
    window->SetAutoClueFreeform(false);
    MainFormReady = true;
    window->ReadPuzzleFile(puzzle);
    window->AfterPuzzleOpened(puzzle);
    if (!window->AutoLayoutCB->isChecked())
        window->AutoLayoutCB->click();
    ASSERT_TRUE(DocControls.AutoLayout);

    window->mLayoutDoAutoLayoutNow->trigger();
    EXPECT_EQ(LastAutoLayoutRun().Outcome, TAutoLayoutOutcome::Fitted);
    EXPECT_GT(LastAutoLayoutRun().Trials, 0);
    EXPECT_TRUE(prompter.boxes.isEmpty()) << prompter.lastText().toStdString();
    MainFormReady = false;
}
