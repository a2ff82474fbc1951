// The management window of the published puzzles against the fake hosting server: the list and
// its titles, a failed fetch, deleting, and the link buttons.
#include "managefm.h"

#include "fakehostingserver.h"
#include "globals.h"
#include "hostingstate.h"
#include "httpclient.h"
#include "prompter.h"
#include "uidialogs.h"

#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>

namespace {

const QString kGroup = QStringLiteral("12");
const QString kAccount = QStringLiteral("JohnSmith");
const QString kList = QStringLiteral("/cgi-bin/Subscribe/FetchPuzzleList.cgi");
const QString kDelete = QStringLiteral("/cgi-bin/Subscribe/DeletePuzzle.cgi");

std::string s(const QString &text) { return text.toStdString(); }

/** Records each box with the number of list requests the server had seen by then. */
class TimingPrompter : public Prompter
{
public:
    explicit TimingPrompter(const TFakeHostingServer &server) : m_server(server)
    {
        m_previous = setPrompter(this);
    }
    ~TimingPrompter() override { setPrompter(m_previous); }
    Button ask(const QString &text, const QString &, Kind, Buttons buttons, int) override
    {
        Texts << text;
        ListsSeen << int(m_server.requestsFor(kList).size());
        if (!Answers.isEmpty())
            return Answers.takeFirst();
        return (buttons & Yes) ? Yes : Ok;
    }
    QStringList Texts;
    QList<int> ListsSeen;
    QList<Button> Answers;

private:
    const TFakeHostingServer &m_server;
    Prompter *m_previous = nullptr;
};

class ManageFmTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(server.isListening());
        InitGlobals();
        LastPuzzleLink.clear();
        server.addPuzzle(kGroup, kAccount, "MyFirstPuzzle");
        server.addPuzzle(kGroup, kAccount, "Tom&Jerry");
        // A line that names another host is in the reply but not in the list.
        server.setPresenceValue("SubscriptionLimit", "5\r\n@evil.example/Evil.html\">");
        fm = std::make_unique<TManageFm>(HostingProtocol(identity()));
        fm->resize(640, 400);
        fm->show();
    }

    THostingIdentity identity() const
    {
        THostingIdentity id;
        id.Server = server.baseUrl();
        id.Group = kGroup;
        id.Account = kAccount;
        id.InstallNumber = QStringLiteral("4711");
        return id;
    }

    QStringList column(int c) const
    {
        QStringList texts;
        for (int row = 0; row < fm->ManageSG->rowCount(); ++row)
            texts << fm->ManageSG->item(row, c)->text();
        return texts;
    }

    bool buttonsEnabled() const
    {
        return fm->DeleteBtn->isEnabled() && fm->ViewPuzzleBtn->isEnabled() && fm->CopyLinkBtn->isEnabled() &&
               fm->EmailLinkBtn->isEnabled();
    }
    bool buttonsDisabled() const
    {
        return !fm->DeleteBtn->isEnabled() && !fm->ViewPuzzleBtn->isEnabled() &&
               !fm->CopyLinkBtn->isEnabled() && !fm->EmailLinkBtn->isEnabled();
    }

    TFakeHostingServer server;
    ScriptedUiDialogs dialogs;
    RecordingShell shellRecorder;
    TimingPrompter prompter{server};
    std::unique_ptr<TManageFm> fm;
};

TEST_F(ManageFmTest, ListTitlesLinksAndColumns)
{
    ASSERT_TRUE(fm->RefreshPuzzleList());
    EXPECT_EQ(fm->ManageSG->horizontalHeaderItem(0)->text(), "Approximate Title");
    EXPECT_EQ(fm->ManageSG->horizontalHeaderItem(1)->text(), "Link to puzzle");
    EXPECT_EQ(column(0), QStringList({"My First Puzzle", "Tom& Jerry"})); // capitals spaced out
    EXPECT_EQ(column(1), QStringList({server.puzzleLink(kGroup, kAccount, "MyFirstPuzzle"),
                                      server.puzzleLink(kGroup, kAccount, "Tom&Jerry")}));
    EXPECT_TRUE(fm->StatusMemo->toPlainText().contains("@evil.example/Evil.html"));
    EXPECT_TRUE(fm->StatusMemo->toPlainText().contains("Group") ||
                fm->StatusMemo->toPlainText().contains(kGroup + "/" + kAccount + "/MyFirstPuzzle.html\">"));
    EXPECT_FALSE(fm->ManageSG->isHidden());
    EXPECT_EQ(fm->SubscriptionLbl->text(), HostingAdText());
    EXPECT_EQ(fm->Status.SubscriptionLimit, 5);

    const int width = fm->ManageSG->viewport()->width();
    EXPECT_EQ(fm->ManageSG->columnWidth(0), width / 4);
    EXPECT_EQ(fm->ManageSG->columnWidth(1), width - width / 4 - 1);
    fm->resize(800, 400);
    QCoreApplication::processEvents();
    const int wider = fm->ManageSG->viewport()->width();
    EXPECT_GT(wider, width);
    EXPECT_EQ(fm->ManageSG->columnWidth(0), wider / 4);

    EXPECT_EQ(fm->SelectedRow(), -1);
    EXPECT_TRUE(buttonsDisabled());
    fm->ManageSG->selectRow(1);
    EXPECT_TRUE(buttonsEnabled());
    EXPECT_EQ(fm->ManageSG->selectionModel()->selectedIndexes().size(), 2); // the whole row
    fm->ManageSG->clearSelection();
    EXPECT_TRUE(buttonsDisabled());
}

TEST_F(ManageFmTest, FailedFetch)
{
    server.setBehaviour(kList, TFakeReply::Status, 500);
    EXPECT_FALSE(fm->RefreshPuzzleList());
    EXPECT_TRUE(fm->ManageSG->isHidden());
    EXPECT_FALSE(fm->StatusMemo->isHidden());
    EXPECT_EQ(fm->StatusMemo->toPlainText().split('\n'),
              QStringList({"",
                           "The following error occurred while trying to fetch a list of your "
                           "puzzles from the Web:",
                           "", "\"HTTP/1.1 500 Internal Server Error\"", "", ConnectionHelpText}));
    EXPECT_TRUE(buttonsDisabled());
}

TEST_F(ManageFmTest, DeleteThenListAgain)
{
    ASSERT_TRUE(fm->RefreshPuzzleList());
    // No: nothing deleted, the list is fetched again all the same.
    fm->ManageSG->selectRow(1);
    prompter.Answers = {Prompter::No};
    fm->DeleteBtn->click();
    EXPECT_TRUE(server.requestsFor(kDelete).isEmpty());
    EXPECT_EQ(server.requestsFor(kList).size(), 2);
    EXPECT_EQ(column(0).size(), 2);

    // Yes: the name goes encoded, the fake's list shrinks, and so does the grid.
    fm->ManageSG->selectRow(1);
    prompter.Answers = {Prompter::Yes};
    fm->DeleteBtn->click();
    ASSERT_EQ(prompter.Texts.size(), 2);
    EXPECT_EQ(prompter.Texts[1],
              "Are you sure you want to permanently delete the puzzle Tom&Jerry.html off the "
              "server?");
    const QList<TFakeRequest> deletes = server.requestsFor(kDelete);
    ASSERT_EQ(deletes.size(), 1);
    EXPECT_EQ(deletes[0].query.value("Puzzle"), "Tom&Jerry.html");
    EXPECT_EQ(deletes[0].query.value("Group"), kGroup);
    EXPECT_EQ(deletes[0].query.size(), 8) << s(QStringList(deletes[0].query.keys()).join(','));
    EXPECT_EQ(server.puzzles(kGroup, kAccount), QStringList{"MyFirstPuzzle"});
    EXPECT_EQ(column(0), QStringList{"My First Puzzle"});
    EXPECT_EQ(server.requestsFor(kList).size(), 3);
    EXPECT_TRUE(buttonsDisabled());
}

TEST_F(ManageFmTest, FailedDeleteIsSaidBeforeTheRefresh)
{
    ASSERT_TRUE(fm->RefreshPuzzleList());
    server.setBehaviour(kDelete, TFakeReply::Status, 500);
    fm->ManageSG->selectRow(0);
    prompter.Answers = {Prompter::Yes, Prompter::Ok};
    fm->DeleteBtn->click();
    ASSERT_EQ(prompter.Texts.size(), 2);
    EXPECT_TRUE(prompter.Texts[1].contains("\"HTTP/1.1 500 Internal Server Error\"")) << s(prompter.Texts[1]);
    EXPECT_TRUE(prompter.Texts[1].endsWith(ConnectionHelpText));
    EXPECT_EQ(prompter.ListsSeen[1], 1); // before the list was fetched again
    EXPECT_EQ(server.requestsFor(kList).size(), 2);
    EXPECT_EQ(column(0).size(), 2);
}

TEST_F(ManageFmTest, ViewCopyAndEmailTheLink)
{
    ASSERT_TRUE(fm->RefreshPuzzleList());
    QStringList emailed;
    fm->EmailLink = [&](const QString &title) { emailed << title + " " + LastPuzzleLink; };

    // Without a selection.
    fm->EmailLinkBtnClick();
    EXPECT_EQ(prompter.Texts, QStringList{"Please click on a puzzle."});
    EXPECT_TRUE(emailed.isEmpty());

    const QString link = server.puzzleLink(kGroup, kAccount, "MyFirstPuzzle");
    fm->ManageSG->selectRow(0);
    fm->ViewPuzzleBtn->click();
    ASSERT_EQ(shellRecorder.Opened.size(), 1);
    EXPECT_EQ(shellRecorder.Opened[0].toString(), link);

    fm->CopyLinkBtn->click();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), link);
    EXPECT_EQ(prompter.Texts.last(),
              "The clipboard now contians the link. The next step is to paste it into another "
              "application. The key combination Ctrl-V will paste at the blinking cursor.");

    fm->EmailLinkBtn->click();
    EXPECT_EQ(emailed, QStringList{"My First Puzzle " + link});
    EXPECT_EQ(LastPuzzleLink, link);
}

} // namespace
